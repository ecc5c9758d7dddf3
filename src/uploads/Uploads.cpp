// The queue fed by the log and emptied by batches.
#include "uploads/Uploads.h"

#include <algorithm>
#include <map>

#include "interchange/AdifExport.h"

namespace vl {

UploadBatch::~UploadBatch() {
    if (m_worker.joinable()) {
        m_cancel = true;
        m_worker.join();
    }
}

void UploadBatch::start(UploadTools tools, UploadAccounts accounts, std::vector<UploadJob> jobs) {
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_done = false;
    m_cancel = false;
    m_outcomes.clear();
    tools.cancel = &m_cancel;
    m_worker = std::thread(
        [this, tools = std::move(tools), accounts = std::move(accounts), jobs = std::move(jobs)] {
            for (const UploadJob& job : jobs) {
                m_outcomes.push_back(send_job(tools, accounts, job));
            }
            m_done = true;
        });
}

std::optional<std::vector<UploadOutcome>> UploadBatch::take() {
    if (!m_worker.joinable() || !m_done.load()) {
        return std::nullopt;
    }
    m_worker.join();
    return std::move(m_outcomes);
}

void queue_log_change(UploadState& state, const LogRecord* before, const LogRecord& after) {
    const std::string key = upload_key(after);
    const bool same_key = before != nullptr && upload_key(*before) == key;
    if (same_key && adif_upload_record(*before) == adif_upload_record(after)) {
        return;
    }
    for (Service service : kServices) {
        if (state.accounts.set_up(service)) {
            state.queue.add({service, key, same_key});
        }
    }
}

std::string waiting_sentence(const UploadState& state) {
    std::string parts;
    for (Service service : kServices) {
        const int count = state.queue.count(service);
        if (count > 0) {
            parts += parts.empty() ? "Waiting: " : ", ";
            parts += service_name(service);
            parts += ' ';
            parts += std::to_string(count);
        }
    }
    return parts.empty() ? "No contacts wait to be sent." : parts + ".";
}

UploadStart start_uploads(UploadState& state, const LogStore& log, UploadTools tools,
                          const std::vector<int>& hold_back) {
    if (state.batch.busy()) {
        return UploadStart::Busy;
    }
    if (state.batch.running()) {
        return UploadStart::Busy;  // ended, but its outcome has not been collected yet
    }
    std::vector<std::string> held_keys;
    for (int number : hold_back) {
        if (number >= 1 && number <= log.count() && log.entry(number).is_qso()) {
            held_keys.push_back(upload_key(log.entry(number)));
        }
    }
    std::vector<QueuedContact> wanted;
    std::map<Service, std::size_t> taken;
    bool held = false;
    for (const QueuedContact& contact : state.queue.contacts()) {
        if (!state.accounts.set_up(contact.service)) {
            continue;
        }
        if (std::find(held_keys.begin(), held_keys.end(), contact.key) != held_keys.end()) {
            held = true;
            continue;
        }
        if (taken[contact.service]++ < kUploadBatchLimit) {
            wanted.push_back(contact);
        }
    }
    if (wanted.empty()) {
        // What waits is held back, or for services no longer set up.
        return held || state.queue.empty() ? UploadStart::NothingWaits : UploadStart::NotSetUp;
    }
    // One pass over the log finds each waiting contact as it now stands, latest first.
    std::map<std::string, int> found;
    for (const QueuedContact& contact : wanted) {
        found.emplace(contact.key, 0);
    }
    for (int number = log.count(); number >= 1; --number) {
        const LogRecord& record = log.entry(number);
        if (!record.is_qso()) {
            continue;
        }
        auto at = found.find(upload_key(record));
        if (at != found.end() && at->second == 0) {
            at->second = number;
        }
    }
    std::vector<UploadJob> jobs;
    std::vector<QueuedContact> gone;
    for (const QueuedContact& contact : wanted) {
        auto job = std::find_if(jobs.begin(), jobs.end(),
                                [&](const UploadJob& j) { return j.service == contact.service; });
        if (job == jobs.end()) {
            jobs.push_back({contact.service, {}, {}, {}});
            job = jobs.end() - 1;
        }
        const int number = found[contact.key];
        if (number == 0) {
            // Not in the log: deleted since, or a change a kill stopped before the log took it.
            gone.push_back(contact);
            continue;
        }
        if (auto record = adif_upload_record(log.entry(number))) {
            job->contacts.push_back(contact);
            job->records.push_back(std::move(*record));
        } else {
            job->skipped.push_back(contact);
        }
    }
    if (!gone.empty()) {
        state.queue.remove(gone);
    }
    std::vector<QueuedContact> sending;
    for (const UploadJob& job : jobs) {
        sending.insert(sending.end(), job.contacts.begin(), job.contacts.end());
        sending.insert(sending.end(), job.skipped.begin(), job.skipped.end());
    }
    if (sending.empty()) {
        return UploadStart::NothingWaits;
    }
    state.queue.sending(sending);
    state.batch.start(std::move(tools), state.accounts, std::move(jobs));
    return UploadStart::Started;
}

std::optional<std::string> finish_uploads(UploadState& state) {
    auto outcomes = state.batch.take();
    if (!outcomes) {
        return std::nullopt;
    }
    std::vector<QueuedContact> done;
    bool failed = false;
    for (const UploadOutcome& outcome : *outcomes) {
        done.insert(done.end(), outcome.done.begin(), outcome.done.end());
        failed = failed || !outcome.failure.empty();
    }
    state.queue.remove(done);
    if (failed) {
        state.retry_after = std::chrono::steady_clock::now() + kUploadRetryPause;
    }
    return outcome_sentence(*outcomes);
}

namespace {

std::string contacts(int count) {
    return std::to_string(count) + (count == 1 ? " contact" : " contacts");
}

}  // namespace

std::string outcome_sentence(const std::vector<UploadOutcome>& outcomes) {
    std::string text;
    for (const UploadOutcome& outcome : outcomes) {
        std::vector<std::string> parts;
        if (outcome.sent > 0) {
            parts.push_back(contacts(outcome.sent) + " sent");
        }
        if (outcome.held > 0) {
            parts.push_back(std::to_string(outcome.held) + " already there");
        }
        if (outcome.refused > 0) {
            parts.push_back(std::to_string(outcome.refused) + " refused, " + outcome.refusal);
        }
        if (!outcome.failure.empty()) {
            parts.push_back(contacts(outcome.left) + " kept to send later, " + outcome.failure);
        }
        if (outcome.skipped > 0) {
            parts.push_back(std::to_string(outcome.skipped) + " skipped, no mode or frequency");
        }
        if (parts.empty()) {
            continue;
        }
        if (!text.empty()) {
            text += ' ';
        }
        text += service_name(outcome.service);
        text += ": ";
        for (std::size_t i = 0; i < parts.size(); ++i) {
            text += i == 0 ? "" : "; ";
            text += parts[i];
        }
        text += '.';
    }
    return text;
}

}  // namespace vl
