// What the logging screens use besides the shared screen state. On-line logging reaches
// most of the program: the DX data, the station, the rig and rotator, the labels and the
// reference tools, so it hands each of those the context it takes.
#pragma once

#include <array>
#include <string>

#include "antenna/Rotator.h"
#include "dxdata/DxContext.h"
#include "hamlib/HamlibSettings.h"
#include "logging/DigitalModes.h"
#include "printing/PrintingContext.h"
#include "reference/CallBook.h"
#include "reference/ReferenceContext.h"
#include "shell/ScreenContext.h"
#include "station/RigControl.h"
#include "station/StationData.h"
#include "uploads/Uploads.h"

namespace vl {

// Where the log browser's searches last found something; kept for the whole run.
struct BrowserHits {
    int last_call_hit = 0;
    int last_comment_hit = 0;
};

struct LoggingContext : ScreenContext {
    CountryList& countries;
    DxccChart& chart;
    ChartFileState& chart_file;
    StationData& station;
    RigControl& rig_control;
    Rotator& rotator;
    LabelState& labels;
    std::array<std::string, 15>& frequency_names;
    BrowserHits& browser_hits;
    NotePadState& note_pad;
    int& database_search_position;
    CallBookState& call_book;
    CallBookAccount& callbook_account;
    OnlineLookup& callbook_lookup;
    // HAMLIB.TXT as start-up read it: the daemons in place of the serial links.
    const hamlib::Settings& hamlib;
    // The link to WSJT-X and JTDX; none before it starts.
    DigitalModes* digital = nullptr;
    UploadState& uploads;

    const ScreenContext& screen() const { return *this; }
    operator DxContext() const { return {screen(), countries, chart, chart_file}; }
    operator ReferenceContext() const { return {screen(), note_pad, database_search_position}; }
};

}  // namespace vl
