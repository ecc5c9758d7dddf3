#!/usr/bin/env python3
"""Prints through the real CUPS path to a private scheduler and reads the jobs back.

A scheduler of its own (private folders, its own socket, a queue whose backend writes each
job to a file) is started; no system printer is touched. The program runs on the headless
backend with the real printer; each spooled PDF is checked with poppler's tools (page
count, orientation, the text of each page) and its first page is left as a PNG.

    cups_print_test.py PRINT_PROGRAM ARTIFACT_FOLDER RUNNER
    cups_print_test.py PRINT_PROGRAM.exe ARTIFACT_FOLDER --wine

The key-script runner's --pdf folder is checked on the same log. With --wine the Windows
program prints through GDI and Wine's spooler, which sends PostScript to the same kind of
scheduler; Ghostscript turns it into PDF for the same checks.
"""
import os
import pwd
import re
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

PROGRAM, ARTIFACTS = sys.argv[1], sys.argv[2]
WINE = sys.argv[3] == "--wine"
RUNNER = None if WINE else sys.argv[3]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def write_scheduler_files(root, socket):
    as_root = os.getuid() == 0
    for folder in ("conf", "spool", "spool/tmp", "cache", "state", "log", "bin/backend", "out"):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
    # The scheduler runs its helpers through the system's daemon folder.
    os.symlink("/usr/lib/cups/daemon", os.path.join(root, "bin/daemon"))
    backend = Path(root, "bin/backend/vlfile")
    backend.write_text("""#!/bin/sh
# A CUPS backend that writes each job to a file in the folder of its device URI.
[ $# -eq 0 ] && exit 0
folder="${DEVICE_URI#vlfile:}"
if [ $# -ge 6 ]; then cat "$6" > "$folder/job-$1.part"; else cat > "$folder/job-$1.part"; fi
mv "$folder/job-$1.part" "$folder/job-$1.pdf"
""")
    backend.chmod(0o755)
    user = "User lp\nGroup lp\n" if as_root else ""
    Path(root, "conf/cups-files.conf").write_text(f"""ServerRoot {root}/conf
RequestRoot {root}/spool
TempDir {root}/spool/tmp
CacheDir {root}/cache
StateDir {root}/state
ServerBin {root}/bin
DataDir /usr/share/cups
ErrorLog {root}/log/error_log
AccessLog {root}/log/access_log
PageLog {root}/log/page_log
{user}""")
    Path(root, "conf/cupsd.conf").write_text(f"""Listen {socket}
LogLevel warn
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
""")
    if as_root:
        lp = pwd.getpwnam("lp")
        for folder in ("spool", "spool/tmp", "cache", "state", "log", "out"):
            os.chown(os.path.join(root, folder), lp.pw_uid, lp.pw_gid)
    os.chmod(os.path.join(root, "out"), 0o777)


def run_program(program_dir, script, env, program=(PROGRAM,)):
    """The journal of program (the print program unless named) playing script in program_dir."""
    script_path = os.path.join(program_dir, "test.script")
    Path(script_path).write_text(script)
    command = [*program, program_dir, script_path]
    if WINE:
        command = ["wine", PROGRAM] + ["Z:" + path.replace("/", "\\") for path in command[1:]]
    return subprocess.run(command, env=env, capture_output=True, text=True, timeout=60).stdout.splitlines()


def wait_until(ready, seconds):
    """ready()'s answer once it is true, or its last answer when the seconds have passed."""
    deadline = time.time() + seconds
    while not (answer := ready()) and time.time() < deadline:
        time.sleep(0.2)
    return answer


def spooled_jobs(folder, count):
    jobs = sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith(".pdf"))
    return jobs if len(jobs) >= count else []


def as_pdf(job):
    """The job as a PDF file, and whether its pages lie in landscape."""
    with open(job, "rb") as spooled:
        head = spooled.read(4096)
    if not head.startswith(b"%!"):
        width, height = pages_of(job)[1:]
        return job, width > height
    pdf = job + ".converted.pdf"
    subprocess.run(["ps2pdf", job, pdf], check=True)
    return pdf, b"%%Orientation: Landscape" in head


def pages_of(pdf):
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
    fields = dict(line.split(":", 1) for line in info.splitlines() if ":" in line)
    size = fields.get("Page size", "0 x 0").split()
    return int(fields.get("Pages", "0")), float(size[0]), float(size[2])


def page_text(pdf, page):
    text = subprocess.run(["pdftotext", "-layout", "-f", str(page), "-l", str(page), pdf, "-"],
                          capture_output=True, text=True).stdout
    # Ghostscript names a PostScript font's hyphen as the soft hyphen.
    return text.replace("\u00ad", "-")


def menu(entry):
    """Opens main menu entry `entry` (0..18)."""
    return "key Home\n" + "key Down\n" * entry + "key Enter\n"


def main():
    root = tempfile.mkdtemp(prefix="varrowlog-cups-")
    os.chmod(root, 0o755)
    socket = os.path.join(root, "cups.sock")
    write_scheduler_files(root, socket)
    # No default printer or lpoptions of the operator's.
    env = {k: v for k, v in os.environ.items() if k not in ("PRINTER", "LPDEST")} | {
        "CUPS_SERVER": socket, "HOME": root}
    scheduler = subprocess.Popen(["cupsd", "-f", "-c", f"{root}/conf/cupsd.conf", "-s",
                                  f"{root}/conf/cups-files.conf"], env=env)
    program_dir = os.path.join(root, "program")
    os.makedirs(program_dir)
    try:
        wait_until(lambda: os.path.exists(socket), 20)
        subprocess.run(["lpadmin", "-p", "varrow", "-E", "-v", f"vlfile:{root}/out"], env=env,
                       check=True, capture_output=True)
        subprocess.run(["lpadmin", "-d", "varrow"], env=env, check=True)

        # The print_log scenario's folder: 90 entries, Q1A1 to Q1A90, 41 to a page.
        for name in ("COUNTRY.LST", "MYLOG.LOG"):
            shutil.copy(os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                     "../scenarios/print_log", name), program_dir)
        journal = run_program(program_dir, menu(4) + "key Tab\ntype 1\nkey Enter\n"
                              "answer yes\nanswer yes\nkey Escape\n", env)
        check('message "Log Print" "Printer Fail" ok' not in journal, "the log job was taken")
        # A test print fills a sheet of four labels from a two-part template.
        Path(program_dir, "QSL.DAT").write_bytes(bytes([2, 2, 90, 60, 10, 10]) + b"NN")
        Path(program_dir, "QSL.DTA").write_bytes(b"#F12;TO $A$#F10;\r\nThanks for the station report\r\n"
                                                 b"///\r\n#C2;$H$#C0;\r\n73 de $L$")
        journal = run_program(program_dir, menu(5) + "key F2\nkey Enter\nkey Escape\n"
                              "key Escape\n", env)
        check('window "End of sheet. "' in journal, "the full sheet is announced")
        journal = run_program(program_dir, menu(6) + "type BRS-1234\nkey Tab\ntype q1abc\n"
                              "key Tab\ntype 1 Jan\nkey Tab\ntype 1305\nkey Tab\ntype 20\n"
                              "key Tab\ntype ssb\nkey F12\nkey Escape\nkey Escape\n", env)
        jobs = wait_until(lambda: spooled_jobs(os.path.join(root, "out"), 3), 30)
        check(len(jobs) == 3, "three jobs spooled: the log, the labels and the SWL card")
        expected = [
            # A real printer's unprintable margins leave fewer lines to a page than a PDF's.
            ("print_log", 3, True,
             [["Page 1", "Q1A1 "], ["Page 2"], ["Page 3", "Q1A90", "End of Log"]] if WINE else
             [["Page 1", "Q1A1", "Q1A41"], ["Page 2", "Q1A42", "Q1A82"],
              ["Page 3", "Q1A83", "End of Log"]]),
            ("qsl_labels", 1, False, [["TO Q0ZZZ", "Date", "Band", "01 Jan 05", "2359", "80m",
                                       "A1A", "Thanks for your QSL", "73 de Ezo"]]),
            ("swl_card", 1, False, [["TO BRS-1234", "SWL report", "Confirming my QSO with Q1ABC",
                                     "1 Jan", "1305", "20m", "SSB", "---"]]),
        ]
        for job, (name, page_count, landscape, texts) in zip(jobs, expected):
            pdf, lies_landscape = as_pdf(job)
            if WINE:
                name = "win32_" + name
            pages = pages_of(pdf)[0]
            check(pages == page_count, f"{name} has {page_count} pages (has {pages})")
            check(lies_landscape == landscape, f"{name} orientation")
            for page, wanted in enumerate(texts, start=1):
                text = page_text(pdf, page)
                for piece in wanted:
                    check(piece in text, f"{name} page {page} shows {piece!r}")
            if name.endswith("print_log"):
                calls = re.findall(r"Q1A\d+", "".join(page_text(pdf, p) for p in (1, 2, 3)))
                check(sorted(calls) == sorted(f"Q1A{i}" for i in range(1, 91)),
                      "every entry is printed once")
            if name.endswith("qsl_labels"):
                check(page_text(pdf, 1).count("TO Q0ZZZ") == 4, "four labels on the sheet")
            subprocess.run(["pdftoppm", "-png", "-r", "60", "-f", "1", "-l", "1",
                            "-singlefile", pdf, os.path.join(ARTIFACTS, name)])
    finally:
        scheduler.terminate()
        scheduler.wait(timeout=20)

    # With no scheduler answering there is no default printer.
    journal = run_program(program_dir, menu(4) + "key Tab\ntype 1\nkey Enter\nanswer ok\n"
                          "key Escape\n", env)
    check('message "Log Print" "Printer Fail" ok' in journal, "no scheduler gives Printer Fail")

    if not WINE:
        # The runner records the job in its journal and draws it into its PDF folder.
        pdf_folder = os.path.join(root, "pdf")
        os.makedirs(pdf_folder)
        journal = run_program(program_dir, menu(4) + "key Tab\ntype 3\nkey Enter\nkey Escape\n", os.environ,
                              (RUNNER, "--pdf", pdf_folder))
        check('print job "Print Log" landscape' in journal, "the runner's journal holds the job")
        runner_pdf = os.path.join(pdf_folder, "Print Log-1.pdf")
        check(os.path.exists(runner_pdf) and pages_of(runner_pdf)[0] == 1
              and "Page 3" in page_text(runner_pdf, 1), "the runner's PDF holds page 3")
    if failures:
        error_log = Path(root, "log/error_log")
        print(error_log.read_text() if error_log.exists() else "no error log")
    shutil.rmtree(root, ignore_errors=True)
    print("failures:", len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
