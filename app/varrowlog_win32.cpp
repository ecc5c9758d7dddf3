// varrowlog.exe: the program on Windows. It takes no arguments and keeps its files in the
// folder it stands in, and prints to the default printer.
#include "platform/win32/Printer_win32.h"
#include "platform/win32/Sound_win32.h"
#include "platform/win32/Win32Ui.h"
#include "program/Program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    vl::platform::Win32Sound sound;
    vl::platform::Win32Printer printer;
    auto ui = vl::win32::make_win32_ui(instance);
    vl::platform::Platform services{*ui,
                                    sound,
                                    vl::platform::system_clock(),
                                    vl::platform::system_files(),
                                    &printer,
                                    &vl::platform::system_serial_ports(),
                                    &vl::platform::system_shared_libraries(),
                                    vl::platform::system_http(),
                                    &vl::platform::system_tcp_clients(),
                                    vl::platform::system_datagrams(),
                                    vl::platform::system_programs()};
    return vl::run_program(services, vl::platform::program_directory());
}
