// The program's context: everything the screens share for the whole run. It owns it all and
// hands each subsystem's screens the context they take, which only refers to its parts.
// Two contexts never share anything.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "antenna/Rotator.h"
#include "dxdata/DxContext.h"
#include "hamlib/HamlibSettings.h"
#include "logging/LoggingContext.h"
#include "platform/Process.h"
#include "printing/PrintingContext.h"
#include "reference/CallBook.h"
#include "reference/ReferenceContext.h"
#include "shell/ScreenContext.h"
#include "station/RigControl.h"
#include "station/StationContext.h"
#include "uploads/UploadScreens.h"

namespace vl {

struct AppContext {
    explicit AppContext(platform::Platform& services, std::string directory)
        : platform(services), program_dir(std::move(directory)), log(services.files) {}

    platform::Ui& ui() { return platform.ui; }
    int date_format() const { return station.date_format; }

    // The shared part every screen takes, and each subsystem's context built on it.
    ScreenContext screen() {
        return {platform, program_dir, scale,       log,
                settings, unreadable,  main_window, station.date_format};
    }
    operator ScreenContext() { return screen(); }
    operator DxContext() { return {screen(), countries, chart, chart_file}; }
    operator StationContext() { return {screen(), station, rig}; }
    operator ReferenceContext() { return {screen(), note_pad, database_search_position}; }
    operator PrintingContext() { return {screen(), labels, station, frequency_names, countries}; }
    operator LoggingContext() {
        return {screen(),        countries,        chart,           chart_file,
                station,         rig_control,      rotator,         labels,
                frequency_names, browser_hits,     note_pad,        database_search_position,
                call_book,       callbook_account, callbook_lookup, hamlib,
                digital,         uploads};
    }
    operator UploadsContext() { return {screen(), uploads}; }

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
    // HAMLIB.TXT: the daemons that serve the transceiver and rotator in place of the serial
    // links, when it names them.
    hamlib::Settings hamlib;
    // The daemons the program started itself, ended at exit.
    std::vector<std::unique_ptr<platform::RunningProcess>> daemons;
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
    // The listener for WSJT-X and JTDX, made by run_program for the whole run.
    DigitalModes* digital = nullptr;
    // The upload accounts (UPLOADS.TXT), the queue (UPLOADS.QUE) and the batch being sent.
    UploadState uploads{platform.files};
};

}  // namespace vl
