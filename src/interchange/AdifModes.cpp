// The mode table shared by the export and the import.
#include "interchange/AdifModes.h"

#include "logstore/Text.h"

namespace vl {

namespace {

struct ModeRow {
    std::string_view stored;
    AdifMode adif;
};

// Where several stored forms share one ADIF mode, the first is what an import keeps: CW, SSB
// and FM keep the class the chart counts them in. Besides the screens' forms the log holds a
// rig definition's names (USB, CWR, WFM, RTY, FSK ...) and, from imports, the first three
// letters of a longer mode or submode (RTT, OLI, FST ...).
constexpr ModeRow kModes[] = {
    {"CW", {"CW", ""}},
    {"SSB", {"SSB", ""}},
    {"FM", {"FM", ""}},
    {"AM", {"AM", ""}},
    {"RTY", {"RTTY", ""}},
    {"USB", {"SSB", "USB"}},
    {"LSB", {"SSB", "LSB"}},
    {"FT8", {"FT8", ""}},
    {"FT4", {"MFSK", "FT4"}},
    {"JS8", {"MFSK", "JS8"}},
    {"Q65", {"MFSK", "Q65"}},
    {"FST", {"MFSK", "FST4"}},
    {"MFS", {"MFSK", ""}},
    {"PSK", {"PSK", ""}},
    {"PKT", {"PKT", ""}},
    {"JT4", {"JT4", ""}},
    {"JT9", {"JT9", ""}},
    {"JT6", {"JT65", ""}},
    {"MSK", {"MSK144", ""}},
    {"WSP", {"WSPR", ""}},
    {"OLI", {"OLIVIA", ""}},
    {"CON", {"CONTESTI", ""}},
    {"HEL", {"HELL", ""}},
    {"THO", {"THOR", ""}},
    {"THR", {"THRB", ""}},
    {"DOM", {"DOMINO", ""}},
    {"MT6", {"MT63", ""}},
    {"SST", {"SSTV", ""}},
    {"ASC", {"RTTY", "ASCI"}},
    {"DMR", {"DIGITALVOICE", "DMR"}},
    {"DST", {"DIGITALVOICE", "DSTAR"}},
    {"C4F", {"DIGITALVOICE", "C4FM"}},
    {"FRE", {"DIGITALVOICE", "FREEDV"}},
    {"M17", {"DIGITALVOICE", "M17"}},
    {"ARD", {"ARDOP", ""}},
    {"ATV", {"ATV", ""}},
    {"CHI", {"CHIP", ""}},
    {"CLO", {"CLO", ""}},
    {"DYN", {"DYNAMIC", ""}},
    {"FAX", {"FAX", ""}},
    {"ISC", {"ISCAT", ""}},
    {"MTO", {"MTONE", ""}},
    {"OFD", {"OFDM", ""}},
    {"OPE", {"OPERA", ""}},
    {"PAC", {"PAC", ""}},
    {"PAX", {"PAX", ""}},
    {"Q15", {"Q15", ""}},
    {"QRA", {"QRA64", ""}},
    {"ROS", {"ROS", ""}},
    {"T10", {"T10", ""}},
    {"TOR", {"TOR", ""}},
    {"V4", {"V4", ""}},
    {"VOI", {"VOI", ""}},
    {"WIN", {"WINMOR", ""}},
    // The emission codes the screens take, and a rig's names for the same modes.
    {"A1A", {"CW", ""}},
    {"CWR", {"CW", ""}},
    {"J3E", {"SSB", ""}},
    {"F3E", {"FM", ""}},
    {"WFM", {"FM", ""}},
    {"A3E", {"AM", ""}},
    {"J2B", {"RTTY", ""}},
    {"F1B", {"RTTY", ""}},
    // A rig's FSK is RTTY keyed by the rig; imports before this table kept RTTY as RTT.
    {"FSK", {"RTTY", ""}},
    {"RTT", {"RTTY", ""}},
};

}  // namespace

// DIG (a rig's data setting, or DIGITALVOICE cut short), CQC and whatever else an operator
// typed name no mode ADIF lists: writing them would make a strict reader refuse the file.
std::optional<AdifMode> adif_mode_of(std::string_view field) {
    const std::string stored = to_upper(trim(field.substr(0, field.find('\0'))));
    for (const ModeRow& row : kModes) {
        if (row.stored == stored) {
            return row.adif;
        }
    }
    return std::nullopt;
}

std::string log_mode_of(std::string_view mode, std::string_view submode) {
    const std::string name = to_upper(trim(mode));
    const std::string sub = to_upper(trim(submode));
    for (const ModeRow& row : kModes) {
        if (row.adif.mode == name && row.adif.submode == sub) {
            return std::string(row.stored);
        }
    }
    // A submode the table does not know reads back as its mode's own form.
    for (const ModeRow& row : kModes) {
        if (row.adif.mode == name && row.adif.submode.empty()) {
            return std::string(row.stored);
        }
    }
    // A family name such as MFSK does not fit three characters; its submode names the mode.
    return std::string(name.size() > 3 && !submode.empty() ? submode : mode);
}

}  // namespace vl
