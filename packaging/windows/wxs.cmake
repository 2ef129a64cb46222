# Writes the MSI's WiX source from the list of staged files (cmake -DLIST=... -P wxs.cmake),
# so that the package holds exactly the folder's files. Every file is a component of its
# own, whose GUID is derived from its place in the folder: the same file keeps the same
# component from one build and one version to the next. The product code is derived from
# the version: each version is a product of its own that replaces the one before it
# (MajorUpgrade, through the fixed upgrade code).
cmake_policy(VERSION 3.25)
file(STRINGS ${LIST} files)

function(xml_id out prefix path)
  string(REGEX REPLACE "[^A-Za-z0-9_.]" "_" id "${prefix}${path}")
  set(${out} ${id} PARENT_SCOPE)
endfunction()

function(guid out name)
  string(UUID id NAMESPACE ${UPGRADE_CODE} NAME "${name}" TYPE SHA1 UPPER)
  set(${out} ${id} PARENT_SCOPE)
endfunction()

set(features "")
# The components of one folder of the staged tree and, nested, of the folders in it.
function(write_folder out folder indent)
  set(xml "")
  set(subfolders "")
  foreach(path IN LISTS files)
    get_filename_component(dir "${path}" DIRECTORY)
    get_filename_component(name "${path}" NAME)
    if(NOT dir STREQUAL folder)
      if(folder STREQUAL "" AND NOT dir STREQUAL "")
        string(REGEX REPLACE "/.*" "" top "${dir}")
        list(APPEND subfolders ${top})
      elseif(dir MATCHES "^${folder}/")
        string(REGEX REPLACE "^${folder}/([^/]+).*" "${folder}/\\1" sub "${dir}")
        list(APPEND subfolders ${sub})
      endif()
      continue()
    endif()
    xml_id(file_id "" "${path}")
    if(path STREQUAL "tallyforge.exe")
      set(file_id tallyforge.exe)
    endif()
    xml_id(component_id "c_" "${path}")
    guid(component_guid "component/${path}")
    string(APPEND xml "${indent}<Component Id=\"${component_id}\" Guid=\"${component_guid}\" Win64=\"yes\">\n")
    if(path STREQUAL "tallyforge.exe")
      # The program: its Start menu entry, and its App Paths entry, by which Windows'
      # Run box and the start command find "tallyforge".
      string(APPEND xml
"${indent}  <File Id=\"${file_id}\" Name=\"${name}\" Source=\"${FOLDER}/${path}\" KeyPath=\"yes\"/>
${indent}  <Shortcut Id=\"StartMenuShortcut\" Directory=\"ProgramMenuFolder\" Name=\"Tallyforge\"
${indent}            Target=\"[#${file_id}]\" WorkingDirectory=\"INSTALLDIR\"
${indent}            Description=\"${DESCRIPTION}\" Icon=\"tallyforge.ico\" IconIndex=\"0\"/>
${indent}  <RegistryValue Root=\"HKLM\" Key=\"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tallyforge.exe\"
${indent}                 Type=\"string\" Value=\"[#${file_id}]\"/>
${indent}  <RegistryValue Root=\"HKLM\" Key=\"Software\\Tallyforge\" Name=\"InstallDir\"
${indent}                 Type=\"string\" Value=\"[INSTALLDIR]\"/>
")
    else()
      string(APPEND xml "${indent}  <File Id=\"${file_id}\" Name=\"${name}\" Source=\"${FOLDER}/${path}\" KeyPath=\"yes\"/>\n")
    endif()
    string(APPEND xml "${indent}</Component>\n")
    set_property(GLOBAL APPEND PROPERTY tf_components ${component_id})
  endforeach()
  list(REMOVE_DUPLICATES subfolders)
  foreach(sub IN LISTS subfolders)
    xml_id(dir_id "d_" "${sub}")
    get_filename_component(sub_name "${sub}" NAME)
    write_folder(inner "${sub}" "${indent}  ")
    string(APPEND xml "${indent}<Directory Id=\"${dir_id}\" Name=\"${sub_name}\">\n${inner}${indent}</Directory>\n")
  endforeach()
  set(${out} "${xml}" PARENT_SCOPE)
endfunction()

write_folder(tree "" "          ")
get_property(components GLOBAL PROPERTY tf_components)
set(seen "")
set(refs "")
foreach(id IN LISTS components)
  if(id IN_LIST seen)
    message(FATAL_ERROR "wxs.cmake: two staged files give the component id ${id}")
  endif()
  list(APPEND seen ${id})
  string(APPEND refs "      <ComponentRef Id=\"${id}\"/>\n")
endforeach()
guid(product_code "product/${VERSION}")

file(WRITE ${WXS} "<?xml version=\"1.0\" encoding=\"utf-8\"?>
<!-- Written by packaging/windows/wxs.cmake from the staged files. -->
<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">
  <Product Id=\"${product_code}\" UpgradeCode=\"${UPGRADE_CODE}\" Name=\"Tallyforge\"
           Version=\"${VERSION}\" Manufacturer=\"${PUBLISHER}\" Language=\"1033\" Codepage=\"1252\">
    <Package InstallerVersion=\"500\" Compressed=\"yes\" InstallScope=\"perMachine\"
             Description=\"Tallyforge ${VERSION}\" Comments=\"${DESCRIPTION}\" Manufacturer=\"${PUBLISHER}\"/>
    <MajorUpgrade DowngradeErrorMessage=\"A newer version of Tallyforge is already installed.\"/>
    <Media Id=\"1\" Cabinet=\"tallyforge.cab\" EmbedCab=\"yes\"/>
    <Icon Id=\"tallyforge.ico\" SourceFile=\"${ICON}\"/>
    <!-- Installed apps: the icon beside the name; nothing to choose, so no Modify. -->
    <Property Id=\"ARPPRODUCTICON\" Value=\"tallyforge.ico\"/>
    <Property Id=\"ARPNOMODIFY\" Value=\"1\"/>
    <!-- No Repair: it would need the MSI itself, which the software distribution's cache
         may no longer hold; installing the MSI again repairs. -->
    <Property Id=\"ARPNOREPAIR\" Value=\"1\"/>
    <!-- The folder of an installed version (the exe's component writes it), which a later
         version keeps unless INSTALLDIR is given on the command line: before the folders
         are resolved, INSTALLDIR is set only when it was given. -->
    <Property Id=\"TF_INSTALLED_DIR\">
      <RegistrySearch Id=\"InstalledDir\" Root=\"HKLM\" Key=\"Software\\Tallyforge\" Name=\"InstallDir\"
                      Type=\"raw\" Win64=\"yes\"/>
    </Property>
    <!-- The launch condition compares Windows' build number (the one reliable way: an MSI
         sees the same VersionNT on Windows 8.1, 10 and 11). -->
    <Property Id=\"TF_WINDOWS_BUILD\">
      <RegistrySearch Id=\"WindowsBuild\" Root=\"HKLM\" Key=\"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\"
                      Name=\"CurrentBuildNumber\" Type=\"raw\" Win64=\"yes\"/>
    </Property>
    <CustomAction Id=\"KeepInstalledDir\" Property=\"INSTALLDIR\" Value=\"[TF_INSTALLED_DIR]\"/>
    <CustomAction Id=\"SetInstallLocation\" Property=\"ARPINSTALLLOCATION\" Value=\"[INSTALLDIR]\"/>
    <InstallUISequence>
      <Custom Action=\"KeepInstalledDir\" Sequence=\"51\">TF_INSTALLED_DIR AND NOT INSTALLDIR</Custom>
    </InstallUISequence>
    <InstallExecuteSequence>
      <Custom Action=\"KeepInstalledDir\" Sequence=\"51\">TF_INSTALLED_DIR AND NOT INSTALLDIR</Custom>
      <Custom Action=\"SetInstallLocation\" Sequence=\"1001\"/>
      <!-- The version before is removed whole before this one is installed, so that no
           file of it stays behind whatever folder this one goes to. -->
      <RemoveExistingProducts Sequence=\"1401\"/>
    </InstallExecuteSequence>
    <Directory Id=\"TARGETDIR\" Name=\"SourceDir\">
      <Directory Id=\"ProgramFiles64Folder\">
        <Directory Id=\"INSTALLDIR\" Name=\"Tallyforge\">
${tree}        </Directory>
      </Directory>
      <Directory Id=\"ProgramMenuFolder\"/>
    </Directory>
    <Feature Id=\"Tallyforge\" Title=\"Tallyforge\" Level=\"1\" Absent=\"disallow\">
${refs}    </Feature>
  </Product>
</Wix>
")
