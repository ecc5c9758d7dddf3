// varrowlog-script: runs the real program on the headless backend with a key script and
// prints the journal of what a screen reader would be told.
//   varrowlog-script [--pdf FOLDER] PROGRAM_DIRECTORY SCRIPT_FILE
// With --pdf, every print job is also written to FOLDER as a PDF file, so its pages can be
// looked at.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/headless/HeadlessPrinter.h"
#include "platform/headless/HeadlessUi.h"
#include "platform/linux/PdfPrinter.h"
#include "program/Program.h"

int main(int argc, char** argv) {
    std::string pdf_folder;
    if (argc == 5 && std::string(argv[1]) == "--pdf") {
        pdf_folder = argv[2];
        argv += 2;
        argc -= 2;
    }
    if (argc != 3) {
        std::cerr << "usage: varrowlog-script [--pdf FOLDER] PROGRAM_DIRECTORY SCRIPT_FILE\n";
        return 2;
    }
    std::unique_ptr<vl::platform::Printer> pdf_printer;
    if (!pdf_folder.empty()) {
        pdf_printer = vl::platform::make_pdf_folder_printer(pdf_folder);
        if (!pdf_printer) {
            std::cerr << "varrowlog-script: this build has no PDF output\n";
            return 2;
        }
    }
    std::ifstream script_file(argv[2], std::ios::binary);
    if (!script_file) {
        std::cerr << "varrowlog-script: cannot read " << argv[2] << "\n";
        return 2;
    }
    std::stringstream script_text;
    script_text << script_file.rdbuf();
    std::string program_dir = argv[1];
    if (program_dir.empty() || program_dir.back() != '/') {
        program_dir += '/';
    }

    using namespace vl::headless;
    Journal journal;
    int exit_code = 0;
    try {
        HeadlessClock clock;
        HeadlessSound sound(journal);
        HeadlessUi ui(parse_script(script_text.str()), journal, clock);
        RecordingPrinter printer(&journal);
        if (pdf_printer) {
            printer.add_copy(*pdf_printer);
        }
        vl::platform::Platform services{ui,
                                        sound,
                                        clock,
                                        vl::platform::system_files(),
                                        &printer,
                                        &vl::platform::system_serial_ports(),
                                        &vl::platform::system_shared_libraries(),
                                        vl::platform::system_http(),
                                        &vl::platform::system_tcp_clients(),
                                        vl::platform::system_datagrams(),
                                        vl::platform::system_programs()};
        try {
            exit_code = vl::run_program(services, program_dir);
        } catch (const ScriptEnded&) {
            journal.add("end of script");
            if (ui.ended_in_message_box()) {
                std::cout << journal.text();
                std::cerr << "varrowlog-script: the script ended while a message box waits "
                             "for an answer\n";
                return 2;
            }
        }
    } catch (const std::exception& error) {  // a bad script, or a screen's own fault
        std::cout << journal.text();
        std::cerr << "varrowlog-script: " << error.what() << "\n";
        return 2;
    }
    std::cout << journal.text();
    return exit_code;
}
