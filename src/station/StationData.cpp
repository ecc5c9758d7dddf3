// RIG.LST.
#include "station/StationData.h"

#include <cmath>

#include "logstore/Text.h"

namespace vl {

StationData parse_station_data(std::string_view text) {
    StationData data;
    for (int line_number = 0; line_number < 14 && !text.empty(); ++line_number) {
        std::string_view line = take_line(text);
        if (line_number == 13) {
            double format = std::nearbyint(leading_number(line));
            data.date_format = format >= 0 && format <= 2 ? static_cast<int>(format) : 0;
            break;
        }
        BandStation& band = data.bands[line_number];
        std::string* fields[5] = {&band.transceiver, &band.power, &band.antenna,
                                  &band.operator_name, &band.mode};
        for (int i = 0; i < 5; ++i) {
            std::size_t comma = i < 4 ? line.find(',') : std::string_view::npos;
            *fields[i] = trim(line.substr(0, comma));
            line = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
        }
    }
    return data;
}

std::string format_station_data(const StationData& data) {
    std::string text;
    for (const BandStation& b : data.bands) {
        text += b.transceiver + "," + b.power + "," + b.antenna + "," + b.operator_name + "," +
                b.mode + "\r\n";
    }
    return text + plain_number(data.date_format) + "\r\n";
}

}  // namespace vl
