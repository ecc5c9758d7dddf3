// The application context: the tables every screen shares for the whole run, passed by
// reference to each screen. Two contexts never share anything.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "antenna/Rotator.h"
#include "dxdata/CountryList.h"
#include "dxdata/DxccChart.h"
#include "logstore/LogStore.h"
#include "platform/Platform.h"
#include "printing/LabelFiles.h"
#include "reference/CallBook.h"
#include "reference/CallBookAccount.h"
#include "reference/NotePadFile.h"
#include "reference/OnlineCallBook.h"
#include "shell/Settings.h"
#include "station/RigControl.h"
#include "station/RigDefinition.h"
#include "station/StationData.h"

namespace vl {

// Where the log browser's searches last found something; kept for the whole run.
struct BrowserHits {
    int last_call_hit = 0;
    int last_comment_hit = 0;
};

// Which files were found but could not be read at start-up: they are not written back in
// that run, so what is in them is not replaced by empty fields.
struct UnreadableFiles {
    bool station = false;   // RIG.LST
    bool settings = false;  // DBNAMES.TXT
    bool callbook = false;  // CALLBOOK.TXT
};

// Which change of the DXCC chart DXCC.CHT holds, and when it was written.
struct ChartFileState {
    uint64_t saved_version = 0;
    long long saved_at_ms = 0;
    bool saved_once = false;
    // DXCC.CHT was missing at start-up: it is written even when nothing is marked.
    bool missing = false;
};

struct AppContext {
    explicit AppContext(platform::Platform& services, std::string directory)
        : platform(services), program_dir(std::move(directory)), log(services.files) {}

    platform::Ui& ui() { return platform.ui; }
    int date_format() const { return station.date_format; }

    platform::Platform& platform;
    // The folder the program's files live in, with its trailing separator.
    std::string program_dir;
    double scale = 1.0;  // screen width / 640
    LogStore log;
    CountryList countries;
    DxccChart chart;
    // The station data of each band, with the date format setting stored beside it.
    StationData station;
    std::optional<RigDefinition> rig;
    // The transceiver's port, open for the whole run when a rig definition exists.
    RigControl rig_control;
    // The rotator box, open while on-line logging is open when a rotator port is set.
    Rotator rotator;
    Settings settings;
    BrowserHits browser_hits;
    // QSL.DAT, QSL.DTA and the label values, shared by every kind of label.
    LabelState labels;
    // Working copy of the frequency names that the logging screens read and change.
    std::array<std::string, 15> frequency_names;
    platform::WindowId main_window = platform::kNoWindow;
    UnreadableFiles unreadable;
    ChartFileState chart_file;
    // The record the last database search found (the record count when it found none).
    int database_search_position = 0;
    NotePadState note_pad;
    // The call-book libraries loaded so far and what they keep between lookups.
    CallBookState call_book;
    // The on-line call book account (CALLBOOK.TXT) and the lookup that keeps its session.
    CallBookAccount callbook_account;
    OnlineLookup callbook_lookup{platform.http};
};

}  // namespace vl
