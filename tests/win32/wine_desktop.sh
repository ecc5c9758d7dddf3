# Sourced by the tests that run varrowlog.exe on a private X display: a Wine desktop of the
# screen's size, so windows have their captions and frames, started once per prefix.
start_wine_desktop() {
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
}
