// UPLOADS.QUE.
#include "uploads/UploadQueue.h"

#include <algorithm>

#include "logstore/Text.h"

namespace vl {

namespace {

constexpr uint64_t kQueueSizeLimit = 16 * 1024 * 1024;

}  // namespace

std::string format_upload_queue(const std::vector<QueuedContact>& contacts) {
    std::string text;
    for (const QueuedContact& contact : contacts) {
        text += service_tag(contact.service);
        text += ' ';
        text += contact.key;
        text += contact.changed ? " C\r\n" : " N\r\n";
    }
    return text;
}

std::vector<QueuedContact> parse_upload_queue(std::string_view text) {
    std::vector<QueuedContact> contacts;
    while (!text.empty()) {
        std::string_view line = trim(take_line(text));
        const std::size_t first = line.find(' ');
        const std::size_t last = line.rfind(' ');
        if (first == std::string_view::npos || last <= first) {
            continue;
        }
        const std::string_view tag = line.substr(0, first);
        const std::string_view flag = line.substr(last + 1);
        const std::string_view key = trim(line.substr(first + 1, last - first - 1));
        // The key is a date, a time and a call: two blanks, and a call of at least one letter.
        if (key.size() < 15 || std::count(key.begin(), key.end(), ' ') != 2 ||
            (flag != "N" && flag != "C")) {
            continue;
        }
        for (Service service : kServices) {
            if (tag == service_tag(service)) {
                contacts.push_back({service, std::string(key), flag == "C"});
            }
        }
    }
    return contacts;
}

bool UploadQueue::load(const std::string& program_dir) {
    m_path = program_dir + std::string(kUploadQueueFile);
    m_contacts.clear();
    m_unsaved = false;
    m_unreadable = false;
    if (m_files.exists(m_path + ".NEW")) {
        m_files.remove(m_path + ".NEW");
    }
    if (!m_files.exists(m_path)) {
        return true;
    }
    auto text = platform::read_whole_file(m_files, m_path, kQueueSizeLimit);
    if (!text) {
        m_unreadable = true;
        return false;
    }
    m_contacts = parse_upload_queue(*text);
    return true;
}

int UploadQueue::count(Service service) const {
    return static_cast<int>(
        std::count_if(m_contacts.begin(), m_contacts.end(),
                      [&](const QueuedContact& c) { return c.service == service; }));
}

bool UploadQueue::add(const QueuedContact& contact) {
    auto same = std::find_if(m_contacts.begin(), m_contacts.end(), [&](const QueuedContact& c) {
        return c.service == contact.service && c.key == contact.key;
    });
    if (same == m_contacts.end()) {
        m_contacts.push_back(contact);
        return save();
    }
    // Waiting already: one send carries the entry as the log then holds it, and a contact
    // the service has never had stays new to it. One a batch is sending now changed after
    // the batch read it, so it stays for the next batch.
    if (std::find(m_sending.begin(), m_sending.end(), *same) != m_sending.end()) {
        same->changed = true;
        m_changed_while_sending.push_back(*same);
        return save();
    }
    return m_unsaved ? save() : true;
}

void UploadQueue::sending(std::vector<QueuedContact> contacts) {
    m_sending = std::move(contacts);
    m_changed_while_sending.clear();
}

bool UploadQueue::remove(const std::vector<QueuedContact>& done) {
    const auto matches = [](const QueuedContact& a, const QueuedContact& b) {
        return a.service == b.service && a.key == b.key;
    };
    std::erase_if(m_contacts, [&](const QueuedContact& c) {
        return std::any_of(done.begin(), done.end(),
                           [&](const QueuedContact& d) { return matches(c, d); }) &&
               std::none_of(m_changed_while_sending.begin(), m_changed_while_sending.end(),
                            [&](const QueuedContact& d) { return matches(c, d); });
    });
    m_sending.clear();
    m_changed_while_sending.clear();
    return save();
}

bool UploadQueue::save() {
    if (m_unreadable || m_path.empty()) {
        m_unsaved = true;
        return false;
    }
    m_unsaved = !platform::replace_file(m_files, m_path, format_upload_queue(m_contacts));
    return !m_unsaved;
}

}  // namespace vl
