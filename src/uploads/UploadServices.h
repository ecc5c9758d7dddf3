// Sending queued contacts to each service and reading its answer: Club Log's real-time
// interface, QRZ Logbook's API and eQSL's ADIF import, one contact a request over HTTPS;
// LoTW through TrustedQSL's tqsl in batch mode, all of a batch in one signed upload.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Http.h"
#include "platform/Programs.h"
#include "uploads/UploadAccounts.h"
#include "uploads/UploadQueue.h"

namespace vl {

// What a service said of one contact.
struct UploadAnswer {
    enum class Verdict {
        Sent,     // taken
        Held,     // the service had it already: not an error
        Refused,  // the service will not take this contact; `reason` says why
        Failed,   // nothing was taken (no answer, wrong key...): the contact stays queued
    } verdict = Verdict::Failed;
    std::string reason;  // in words, never holding a password or key
};

// One service's batch: the contacts with their records as read from the log.
struct UploadJob {
    Service service = Service::ClubLog;
    std::vector<QueuedContact> contacts;
    std::vector<std::string> records;  // adif_upload_record of each contact
    // Entries without a mode or frequency: no service takes them, so they leave the queue.
    std::vector<QueuedContact> skipped;
};

struct UploadOutcome {
    Service service = Service::ClubLog;
    int sent = 0, held = 0, refused = 0, skipped = 0;
    std::string refusal;              // the first refusal's reason
    std::string failure;              // why the rest were not sent; empty when all were answered
    int left = 0;                     // contacts not answered for, still queued
    std::vector<QueuedContact> done;  // answered for: sent, held or refused
};

struct UploadTools {
    platform::Http* http = nullptr;
    platform::Programs* programs = nullptr;
    platform::FileSystem* files = nullptr;  // the system's when none
    std::string work_folder;  // where LoTW's upload file is written, with its separator
    std::chrono::milliseconds request_limit{20000};
    std::chrono::milliseconds tqsl_limit{300000};
    const std::atomic<bool>* cancel = nullptr;
};

// The answers, read from a service's reply body and HTTP status code.
UploadAnswer read_club_log_answer(long code, std::string_view body);
UploadAnswer read_qrz_answer(long code, std::string_view body);
UploadAnswer read_eqsl_answer(long code, std::string_view body);
// What tqsl's exit status means for the batch.
UploadAnswer read_tqsl_status(int exit_code);

// The file LoTW's tqsl and eQSL's import are given: a header line, <eoh>, a record a line.
std::string upload_file_text(const std::vector<std::string>& records);

// Sends a job; blocks, so it is run off the UI thread.
UploadOutcome send_job(const UploadTools& tools, const UploadAccounts& accounts,
                       const UploadJob& job);

}  // namespace vl
