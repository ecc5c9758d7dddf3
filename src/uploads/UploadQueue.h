// UPLOADS.QUE: the contacts waiting to be sent, one line for each service and contact,
// "CLUBLOG 20261209 1930 G9ZZA N" (N new to the service, C changed), CR LF each. The queue
// names a contact by its key only; what is sent is read from the log when a batch starts,
// so a contact changed again while it waits goes out once, as it now is.
//
// The file is written whole through replace_file (a .NEW copy, flushed, renamed over the
// old one, the folder synced), so a kill leaves the queue as it was before the change or
// after it. Contacts leave it only after the service has answered for them.
#pragma once

#include <string>
#include <vector>

#include "platform/Files.h"
#include "uploads/UploadAccounts.h"

namespace vl {

inline constexpr std::string_view kUploadQueueFile = "UPLOADS.QUE";

struct QueuedContact {
    Service service = Service::ClubLog;
    std::string key;  // upload_key: "YYYYMMDD HHMM CALL"
    bool changed = false;
    bool operator==(const QueuedContact&) const = default;
};

std::string format_upload_queue(const std::vector<QueuedContact>& contacts);
// Lines that are not the queue's are passed over.
std::vector<QueuedContact> parse_upload_queue(std::string_view text);

class UploadQueue {
public:
    explicit UploadQueue(platform::FileSystem& files) : m_files(files) {}

    // Reads the queue beside the log; a .NEW copy left by a kill is removed (the queue
    // file itself is whole, old or new). False when a queue is there but cannot be read:
    // it is then not written in this run, so what it holds is not lost.
    bool load(const std::string& program_dir);

    const std::vector<QueuedContact>& contacts() const { return m_contacts; }
    int count(Service service) const;
    bool empty() const { return m_contacts.empty(); }

    // Queues a contact, or marks the one already waiting for this service as changed.
    // False when the file could not be written: the contact waits in memory and goes to
    // the file with the next change.
    bool add(const QueuedContact& contact);
    // The contacts a batch has read from the log and is sending.
    void sending(std::vector<QueuedContact> contacts);
    // Ends the batch: takes out the contacts the services have answered for, except those
    // changed while they were being sent, and writes the file.
    bool remove(const std::vector<QueuedContact>& done);
    bool unsaved() const { return m_unsaved; }

private:
    bool save();
    platform::FileSystem& m_files;
    std::string m_path;
    std::vector<QueuedContact> m_contacts;
    std::vector<QueuedContact> m_sending;
    std::vector<QueuedContact> m_changed_while_sending;
    bool m_unsaved = false;
    bool m_unreadable = false;
};

}  // namespace vl
