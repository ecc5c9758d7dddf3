// Which QSO entries get a QSL label, in the order the bureau wants them, and the label
// values of each.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dxdata/CountryList.h"
#include "logstore/LogStore.h"
#include "printing/LabelFiles.h"
#include "station/StationData.h"

namespace vl {

constexpr int kMaxQslLabels = 1000;

struct QslItem {
    std::string key;
    int qso = 0;   // record number of the QSO entry
    int data = 0;  // record number of the latest DATA entry of its band before it; 0: none
};

// Home (DXCC 1) first, sorted for the bureau by the call without its prefix letters; then
// the others, by call sign.
struct QslSelection {
    std::vector<QslItem> home;
    std::vector<QslItem> other;
    bool empty() const { return home.empty() && other.empty(); }
};

struct QslFilter {
    int start_code = -32000;
    std::string call;  // a label only for the first unsent QSO whose call holds this
    bool received_only = false;
};

QslSelection select_qsls(const LogStore& log, CountryList& countries, const QslFilter& filter);

// The call field with /M, /P and /MM taken off, and no trailing blanks.
std::string stripped_call(std::string_view call_field);
// The bureau key of a home call: the call without its leading letters, then the letters.
std::string home_key(std::string_view stripped, int date_code);

// "$A$" of a QSO: the call, and " via " and the manager a comment names.
std::string label_call(std::string_view call_field, std::string_view comment);
// "$B$": 14 Mar 04.
std::string label_date(int date_code);

// Sets "$A$" to "$F$" and "$H$" to "$L$" for a QSO entry. `home` labels a 5 MHz contact
// with the 40 m band's station data.
void set_qso_label_values(LabelValues& values, const LogStore& log, const QslItem& item, bool home,
                          const StationData& station);

// The same for a contact still on the net, printed on the air: the call and reports as logged
// on, today's date, the mode and power shown, and the station data of `band`.
void set_on_air_label_values(LabelValues& values, const QsoEntry& qso, int today,
                             std::string_view mode, std::string_view power, int band,
                             const StationData& station);

}  // namespace vl
