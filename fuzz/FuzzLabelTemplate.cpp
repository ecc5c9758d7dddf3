// Fuzz target: any bytes as QSL.DTA with a QSL.DAT of the first eight bytes, rendered as a
// full sheet on the recording printer. Nothing may crash, a mark's number never passes 30
// blanks, and the settings read back as they were written.
#include "Fuzz.h"
#include "platform/headless/HeadlessPrinter.h"
#include "printing/LabelPrinter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view settings_bytes = input.substr(0, std::min<size_t>(8, input.size()));
    vl::LabelSettings settings = vl::parse_label_settings(settings_bytes);
    vl::fuzz::require(vl::parse_label_settings(vl::format_label_settings(settings)) == settings);
    // Small sheets keep each run short.
    settings.rows = settings.rows % 4;
    settings.columns = settings.columns % 4;
    vl::LabelTemplate layout = vl::split_label_template(input.substr(settings_bytes.size()));
    vl::LabelValues values;
    for (char letter = 'A'; letter <= 'M'; ++letter) {
        values[letter] = std::string(1, letter) + "$A$#L";
    }
    vl::headless::RecordingPrinter printer(nullptr);
    auto job = printer.start_job("fuzz", vl::platform::Orientation::Portrait);
    vl::LabelSheet sheet(*job, settings, settings.rows, settings.columns);
    for (int label = 0; label < 4; ++label) {
        sheet.print_label(layout, values, [] { return true; });
    }
    job->end_job();
    return 0;
}
