#!/usr/bin/python3
"""What an IT department checks in the Windows program's folder. signatures <sign.cmake> <folder> <msi>: the build's
signing step, with a CA made here, signs the exe, a DLL and the MSI: they verify with SHA-256, and not once a byte of code
changes. manifest <folder>: the exe's four entries; terminal-server aware. imports <folder> <DLL list>: see below."""
import fnmatch, os, re, shutil, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

OBJDUMP, failures = "x86_64-w64-mingw32-objdump", 0


def check(what, ok, detail=""):
    global failures
    failures += not ok
    print(f"{'ok  ' if ok else 'FAIL'}  {what}{'' if ok else ': ' + str(detail)}")


def run(*args):
    r = subprocess.run(args, capture_output=True, text=True)
    return r.returncode, r.stdout + r.stderr


def signatures(sign_script, stage, msi):
    os.chdir(tempfile.mkdtemp())  # a throwaway CA and code-signing certificate, and the signing step's settings
    assert subprocess.run(["sh", "-ec", """echo throwaway >pw; printf 'keyUsage=digitalSignature\\nextendedKeyUsage=codeSigning\\n' >ext
        openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj /CN=CA -addext basicConstraints=critical,CA:true
        openssl req -newkey rsa:2048 -nodes -keyout cs.key -out cs.csr -subj /CN=Signer
        openssl x509 -req -in cs.csr -CA ca.pem -CAkey ca.key -days 2 -extfile ext -out cs.pem
        openssl pkcs12 -export -inkey cs.key -in cs.pem -passout file:pw -out cs.p12
        printf 'set(OSSLSIGNCODE osslsigncode)\\nset(PKCS12 cs.p12)\\nset(PASSWORD_FILE pw)\\n' >signing.cmake"""], capture_output=True).returncode == 0
    files = [shutil.copy(f, ".") for f in (f"{stage}/tallyforge.exe", f"{stage}/tallyforge_print.dll", msi)]
    status, out = run("cmake", "-DSETTINGS=signing.cmake", f"-DFILES={';'.join(files)}", "-P", sign_script)
    check("the signing step signs the program, a DLL and the MSI", status == 0, out)
    size, offset = re.search(r" \.text\s+(\w+)\s+\w+\s+\w+\s+(\w+)", run(OBJDUMP, "-h", files[0])[1]).groups()
    code = bytearray(open(files[0], "rb").read())
    code[int(offset, 16) + int(size, 16) // 2] ^= 0xFF  # one byte in the middle of the program's code
    open("tampered.exe", "wb").write(code)
    for file, valid in [(f, True) for f in files] + [("tampered.exe", False)]:
        status, out = run("osslsigncode", "verify", "-CAfile", "ca.pem", "-in", file)
        ok = status == 0 and "Signature verification: ok" in out and re.search(r"digest algorithm\s*: SHA256", out)
        check(f"{os.path.basename(file)} {'verifies' if valid else 'fails'} against the CA", bool(ok) == valid, out)
    shutil.rmtree(os.getcwd())


def manifest(stage):
    exe, v1, v3 = f"{stage}/tallyforge.exe", "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
    root = ET.fromstring(run("wrestool", "-x", "--raw", "--type=24", "--name=1", exe)[1] or "<none/>")
    smi = "{http://schemas.microsoft.com/SMI/"
    for what, tag, attribute, expected in [
        ("supports Windows 10 and 11", "{urn:schemas-microsoft-com:compatibility.v1}supportedOS", "Id",
         "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"),
        ("per-monitor v2 DPI aware, then per-monitor", smi + "2016/WindowsSettings}dpiAwareness", None, "PerMonitorV2, PerMonitor"),
        ("per-monitor DPI aware before Windows 10 1607", smi + "2005/WindowsSettings}dpiAware", None, "true/pm"),
        ("Common Controls 6", v1 + "assemblyIdentity[@name='Microsoft.Windows.Common-Controls']", "version", "6.0.0.0"),
        ("runs as the invoking user", v3 + "requestedExecutionLevel", "level", "asInvoker")]:
        seen = [e.get(attribute) if attribute else e.text for e in root.iterfind(".//" + tag)]
        check(f"manifest: {what}", seen == [expected], seen)
    check("tallyforge.exe is terminal-server aware", "\tTERMINAL_SERVICE_AWARE" in run(OBJDUMP, "-p", exe)[1])


def imports(stage, windows_list):  # every DLL a shipped .exe or .dll imports is shipped or Windows' own
    windows = [n.strip() for n in open(windows_list) if n.strip() and not n.startswith("#")]
    shipped = {n.lower() for n in os.listdir(stage)}
    binaries = sorted(os.path.relpath(os.path.join(d, n), stage) for d, _, names in os.walk(stage)
                      for n in names if n.lower().endswith((".exe", ".dll")))
    check("the folder holds the program and DLLs", "tallyforge.exe" in binaries and len(binaries) > 5, binaries)
    for binary in binaries:
        names = [n.lower() for n in re.findall(r"DLL Name: (\S+)", run(OBJDUMP, "-p", f"{stage}/{binary}")[1])]
        missing = [n for n in names if n not in shipped and not any(fnmatch.fnmatch(n, w) for w in windows)]
        check(f"{binary}: its {len(names)} DLLs are shipped or Windows' own", names and not missing,
              f"neither shipped nor part of Windows 10: {missing}")


if __name__ == "__main__":
    globals()[sys.argv[1]](*sys.argv[2:])
    sys.exit(print(f"{failures} failures") or failures > 0)
