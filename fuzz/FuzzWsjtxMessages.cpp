// Fuzz target: any bytes as a datagram from WSJT-X. The reader must give a message or
// nothing, never read outside the datagram, and what it reads of a logged contact must make
// an entry the log can hold.
#include <span>

#include "Fuzz.h"
#include "digital/DigitalContacts.h"
#include "digital/WsjtxMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto message = vl::wsjtx::read_message(std::span<const uint8_t>(data, size));
    if (!message) {
        return 0;
    }
    if (auto* qso = std::get_if<vl::wsjtx::QsoLogged>(&message->body)) {
        if (auto entry = vl::logged_entry(*qso)) {
            vl::fuzz::require(entry->call.size() <= 12 && entry->comment.size() <= 40 &&
                              entry->mode.size() <= 3 && entry->power.size() <= 5 &&
                              entry->rst_sent.size() <= 7);
            (void)vl::contact_key(vl::encode(*entry));
        }
    } else if (auto* adif = std::get_if<vl::wsjtx::LoggedAdif>(&message->body)) {
        (void)vl::logged_adif_entry(adif->adif);
    } else if (auto* decode = std::get_if<vl::wsjtx::Decode>(&message->body)) {
        const auto call = vl::cq_caller(decode->message);
        vl::fuzz::require(!call || call->size() <= 12);
    }
    return 0;
}
