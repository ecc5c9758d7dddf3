// The uploads as the screens use them: the accounts, the queue, and one batch at a time sent
// off the UI thread, so no screen waits for a service. A screen's timer collects the batch's
// outcome as one sentence.
#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "logstore/LogStore.h"
#include "uploads/UploadAccounts.h"
#include "uploads/UploadQueue.h"
#include "uploads/UploadServices.h"

namespace vl {

// Contacts of one service sent in one batch; the rest wait for the next.
inline constexpr std::size_t kUploadBatchLimit = 100;
// After a batch that failed, the on-line screen waits this long before it tries by itself.
inline constexpr std::chrono::seconds kUploadRetryPause{120};

class UploadBatch {
public:
    UploadBatch() = default;
    // A batch still running is given up; it ends within about a second.
    ~UploadBatch();
    UploadBatch(const UploadBatch&) = delete;
    UploadBatch& operator=(const UploadBatch&) = delete;

    bool running() const { return m_worker.joinable(); }
    bool busy() const { return m_worker.joinable() && !m_done.load(); }
    void start(UploadTools tools, UploadAccounts accounts, std::vector<UploadJob> jobs);
    // The outcomes once the batch has ended, once.
    std::optional<std::vector<UploadOutcome>> take();

private:
    std::thread m_worker;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_cancel{false};
    std::vector<UploadOutcome> m_outcomes;  // written by the worker before m_done
};

struct UploadState {
    explicit UploadState(platform::FileSystem& files) : queue(files) {}
    UploadAccounts accounts;
    bool accounts_unreadable = false;  // UPLOADS.TXT is there but could not be read
    UploadQueue queue;
    UploadBatch batch;
    std::chrono::steady_clock::time_point retry_after{};
};

// Queues a new or changed entry for each service set up; a change that leaves what the
// services are sent as it was (a QSL label printed) queues nothing.
void queue_log_change(UploadState& state, const LogRecord* before, const LogRecord& after);

// "Waiting: Club Log 2, QRZ 1." or "No contacts wait to be sent."
std::string waiting_sentence(const UploadState& state);

enum class UploadStart { Started, NothingWaits, NotSetUp, Busy };
// Reads the waiting contacts from the log and starts a batch for each service set up.
// Contacts of the log records in `hold_back` (stations still on the on-line net, whose
// entries change again at log-off) wait for a later batch.
UploadStart start_uploads(UploadState& state, const LogStore& log, UploadTools tools,
                          const std::vector<int>& hold_back = {});
// The sentence of the batch that has ended (its answered contacts leave the queue), or
// nothing while it runs or when none ran.
std::optional<std::string> finish_uploads(UploadState& state);
// "Club Log: 3 contacts sent. QRZ: 1 refused, call sign not in this logbook."
std::string outcome_sentence(const std::vector<UploadOutcome>& outcomes);

}  // namespace vl
