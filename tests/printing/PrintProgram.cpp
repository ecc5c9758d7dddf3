// The program on the headless backend with the system's real printer (CUPS on Linux, GDI
// and the spooler on Windows): the key script drives the screens, the pages go to the
// default printer (a private scheduler in the test, which Wine prints to as well), and the
// journal is printed as the runner prints it.
//   print_program PROGRAM_DIRECTORY SCRIPT_FILE
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/headless/HeadlessUi.h"
#ifdef _WIN32
#include "platform/win32/Printer_win32.h"
using SystemPrinter = vl::platform::Win32Printer;
#else
#include "platform/linux/Printer_linux.h"
using SystemPrinter = vl::platform::CupsPrinter;
#endif
#include "program/Program.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: print_program PROGRAM_DIRECTORY SCRIPT_FILE\n";
        return 2;
    }
    std::ifstream script_file(argv[2], std::ios::binary);
    std::stringstream script;
    script << script_file.rdbuf();
    using namespace vl::headless;
    Journal journal;
    int exit_code = 0;
    try {
        HeadlessClock clock;
        HeadlessSound sound(journal);
        HeadlessUi ui(parse_script(script.str()), journal, clock);
        SystemPrinter printer;
        vl::platform::Platform services{ui, sound, clock, vl::platform::system_files(), &printer};
        exit_code = vl::run_program(services, std::string(argv[1]) + "/");
    } catch (const ScriptEnded&) {
        journal.add("end of script");
        exit_code = 2;
    } catch (const ScriptError& error) {
        std::cerr << "print_program: " << error.what() << "\n";
        exit_code = 2;
    }
    std::cout << journal.text();
    return exit_code;
}
