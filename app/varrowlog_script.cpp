// varrowlog-script: runs the real program on the headless backend with a key script and
// prints the journal of what a screen reader would be told.
//   varrowlog-script PROGRAM_DIRECTORY SCRIPT_FILE
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/headless/HeadlessPrinter.h"
#include "platform/headless/HeadlessUi.h"
#include "shell/Program.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: varrowlog-script PROGRAM_DIRECTORY SCRIPT_FILE\n";
        return 2;
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
        vl::platform::Platform services{ui, sound, clock, vl::platform::system_files(), &printer};
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
    } catch (const ScriptError& error) {
        std::cout << journal.text();
        std::cerr << "varrowlog-script: " << error.what() << "\n";
        return 2;
    }
    std::cout << journal.text();
    return exit_code;
}
