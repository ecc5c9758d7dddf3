// The headless printer: records what each job draws, one journal line an operation, so a
// test or a sighted helper can read where every text, line and page end went.
//   print job "Print Log" landscape        a job started
//   print font "Courier New" 12 underline  a font was selected (plain when not underlined)
//   print colour 0000FF                    the text colour, as 0xBBGGRR
//   print text 300 75 "  Date  ..."        text at x, y (dots)
//   print line 10 20 300 20 pen 2          a line
//   print rectangle 10 20 300 90 pen 2     a rectangle
//   print page end                         the page was ejected
//   print job end                          the job was handed over
#pragma once

#include <memory>
#include <vector>

#include "platform/Printer.h"
#include "platform/headless/Journal.h"

namespace vl::headless {

// Metrics are those of a fixed-pitch font: 0.6 of the size wide, 1.133 high, no leading.
class RecordingPrinter final : public platform::Printer {
public:
    // `journal` may be null: the jobs are then only counted (benchmarks). A geometry with
    // no size gets A4 at the given resolution.
    explicit RecordingPrinter(Journal* journal, platform::PageGeometry portrait = {});

    std::unique_ptr<platform::PrintJob> start_job(std::string_view job_name,
                                                  platform::Orientation orientation) override;

    // A printer that is switched off: start_job gives nothing.
    void set_available(bool available) { m_available = available; }
    // The next jobs are refused when they are handed over.
    void set_refuse_jobs(bool refuse) { m_refuse = refuse; }
    // Mirrors every job into other printers too (the runner's PDF folder).
    void add_copy(platform::Printer& printer) { m_copies.push_back(&printer); }

    int pages_ended() const { return m_pages_ended; }
    int jobs_ended() const { return m_jobs_ended; }

private:
    friend class RecordingJob;
    Journal* m_journal;
    platform::PageGeometry m_portrait;
    bool m_available = true;
    bool m_refuse = false;
    int m_pages_ended = 0;
    int m_jobs_ended = 0;
    std::vector<platform::Printer*> m_copies;
};

}  // namespace vl::headless
