// varrowlog: the program on a Linux desktop. It takes no arguments and keeps its files in
// the folder it stands in.
#include "platform/gtk3/GtkUi.h"
#include "platform/linux/Printer_linux.h"
#include "platform/linux/Sound_linux.h"
#include "program/Program.h"

int main(int argc, char** argv) {
    if (!vl::gtk3::initialise_gtk(&argc, &argv)) {
        return 1;
    }
    vl::platform::PulseSound sound;
    vl::platform::CupsPrinter printer;
    auto ui = vl::gtk3::make_gtk_ui();
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
