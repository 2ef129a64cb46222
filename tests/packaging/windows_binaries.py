#!/usr/bin/python3
"""What an IT department checks in the Windows program before admitting it to its fleet.

    windows_binaries.py signatures <sign.cmake> <staged folder> <msi>
        the build's signing step, given a certificate of a CA made here, signs the program,
        a DLL and the MSI so that they verify against that CA with SHA-256, and a byte
        changed in the program's code breaks the signature;
    windows_binaries.py manifest <staged folder>
        tallyforge.exe's embedded manifest and its terminal-server flag;
    windows_binaries.py imports <staged folder> <list of Windows 10 DLLs>
        every DLL that a shipped .exe or .dll imports is shipped or part of Windows 10.
"""
import fnmatch
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

OBJDUMP = "x86_64-w64-mingw32-objdump"
failures = 0


def check(what, ok, detail=""):
    global failures
    print(f"{'ok  ' if ok else 'FAIL'}  {what}{': ' + detail if detail and not ok else ''}")
    failures += not ok


def run(*args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def signatures(sign_script, stage, msi):
    with tempfile.TemporaryDirectory() as tmp:
        def path(name):
            return os.path.join(tmp, name)
        with open(path("pass"), "w") as f:
            f.write("throwaway\n")
        ext = path("ext")
        with open(ext, "w") as f:
            f.write("basicConstraints=CA:false\nkeyUsage=critical,digitalSignature\n"
                    "extendedKeyUsage=codeSigning\n")
        for step in [
            ["req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("ca.key"),
             "-out", path("ca.pem"), "-days", "2", "-subj", "/CN=Throwaway Test CA",
             "-addext", "basicConstraints=critical,CA:true",
             "-addext", "keyUsage=critical,keyCertSign,cRLSign"],
            ["req", "-newkey", "rsa:2048", "-nodes", "-keyout", path("cs.key"),
             "-out", path("cs.csr"), "-subj", "/CN=Throwaway Publisher"],
            ["x509", "-req", "-in", path("cs.csr"), "-CA", path("ca.pem"), "-CAkey",
             path("ca.key"), "-CAcreateserial", "-days", "2", "-extfile", ext,
             "-out", path("cs.pem")],
            ["pkcs12", "-export", "-inkey", path("cs.key"), "-in", path("cs.pem"),
             "-certfile", path("ca.pem"), "-passout", "file:" + path("pass"),
             "-out", path("cs.p12")],
        ]:
            r = run("openssl", *step)
            if r.returncode:
                sys.exit(f"openssl {step[0]}: {r.stderr}")
        with open(path("signing.cmake"), "w") as f:
            f.write(f"set(OSSLSIGNCODE {shutil.which('osslsigncode')})\n"
                    f"set(PKCS12 {path('cs.p12')})\nset(PASSWORD_FILE {path('pass')})\n")

        files = [shutil.copy(os.path.join(stage, name), tmp)
                 for name in ("tallyforge.exe", "tallyforge_print.dll")] + [shutil.copy(msi, tmp)]
        r = run("cmake", "-DSETTINGS=" + path("signing.cmake"), "-DFILES=" + ";".join(files),
                "-P", sign_script)
        check("the build's signing step signs the program, a DLL and the MSI",
              r.returncode == 0, r.stdout + r.stderr)

        # One byte inside the program's code, changed after signing.
        tampered = shutil.copy(files[0], path("tampered.exe"))
        text = re.search(r"^\s*\d+\s+\.text\s+(\w+)\s+\w+\s+\w+\s+(\w+)",
                         run(OBJDUMP, "-h", tampered).stdout, re.M)
        with open(tampered, "r+b") as f:
            f.seek(int(text.group(2), 16) + int(text.group(1), 16) // 2)
            byte = f.read(1)
            f.seek(-1, 1)
            f.write(bytes([byte[0] ^ 0xFF]))

        for file, valid in [(f, True) for f in files] + [(tampered, False)]:
            r = run("osslsigncode", "verify", "-CAfile", path("ca.pem"), "-in", file)
            out = r.stdout + r.stderr
            name = os.path.basename(file)
            if valid:
                check(f"{name} verifies against the CA, with SHA-256",
                      r.returncode == 0 and "Signature verification: ok" in out
                      and re.search(r"digest algorithm\s*:\s*SHA256", out, re.I), out)
            else:
                check(f"{name} (a byte of .text changed) fails verification",
                      r.returncode != 0 and "Signature verification: ok" not in out, out)


def manifest(stage):
    exe = os.path.join(stage, "tallyforge.exe")
    r = run("wrestool", "-x", "--raw", "--type=24", "--name=1", exe)
    try:
        root = ET.fromstring(r.stdout)
    except ET.ParseError as e:
        check("tallyforge.exe holds a manifest (resource 1 of type 24)", False, f"{e} {r.stderr}")
        return
    ns = {"v1": "urn:schemas-microsoft-com:asm.v1", "v3": "urn:schemas-microsoft-com:asm.v3",
          "c": "urn:schemas-microsoft-com:compatibility.v1",
          "ws05": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
          "ws16": "http://schemas.microsoft.com/SMI/2016/WindowsSettings"}

    def values(xpath, attribute=None):
        return [e.get(attribute) if attribute else (e.text or "").strip()
                for e in root.findall(xpath, ns)]
    settings = "v3:application/v3:windowsSettings/"
    for what, xpath, attribute, expected in [
        ("supported on Windows 10 and 11", "c:compatibility/c:application/c:supportedOS", "Id",
         ["{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]),
        ("per-monitor v2 DPI awareness, per-monitor after it", settings + "ws16:dpiAwareness",
         None, ["PerMonitorV2, PerMonitor"]),
        ("the older per-monitor DPI awareness as fallback", settings + "ws05:dpiAware", None,
         ["true/pm"]),
        ("Common Controls 6", "v1:dependency/v1:dependentAssembly/v1:assemblyIdentity"
         "[@name='Microsoft.Windows.Common-Controls']", "version", ["6.0.0.0"]),
        ("runs as the invoking user", "v3:trustInfo/v3:security/v3:requestedPrivileges/"
         "v3:requestedExecutionLevel", "level", ["asInvoker"]),
    ]:
        seen = values(xpath, attribute)
        check(f"manifest: {what}", seen == expected, f"{seen}")
    headers = run(OBJDUMP, "-p", exe).stdout
    check("tallyforge.exe is terminal-server aware",
          re.search(r"^\s+TERMINAL_SERVICE_AWARE$", headers, re.M) is not None,
          re.search(r"DllCharacteristics.*", headers).group(0))


def imports(stage, windows_list):
    with open(windows_list) as f:
        windows = [line.strip() for line in f if line.strip() and not line.startswith("#")]
    shipped = {n.lower() for n in os.listdir(stage)}
    binaries = sorted(os.path.relpath(os.path.join(d, n), stage) for d, _, names in os.walk(stage)
                      for n in names if n.lower().endswith((".exe", ".dll")))
    check("the folder holds the program and its DLLs", "tallyforge.exe" in binaries
          and len(binaries) > 5, f"{binaries}")
    for binary in binaries:
        dump = run(OBJDUMP, "-p", os.path.join(stage, binary), check=True).stdout
        names = [n.lower() for n in re.findall(r"DLL Name: (\S+)", dump)]
        missing = [n for n in names if n not in shipped
                   and not any(fnmatch.fnmatchcase(n, w) for w in windows)]
        check(f"{binary}: its {len(names)} DLLs are shipped or Windows' own", bool(names) and not missing,
              f"neither shipped nor part of Windows 10: {missing}")


if __name__ == "__main__":
    {"signatures": signatures, "manifest": manifest, "imports": imports}[sys.argv[1]](*sys.argv[2:])
    print(f"{failures} failures")
    sys.exit(1 if failures else 0)
