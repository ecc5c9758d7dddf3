// A call-book library of our own for the tests: the exported functions of HAMCAL32, RACCD32A
// or QRZ32 (chosen by TEST_HAMCAL, TEST_RACCD or TEST_QRZ when it is built) over one sample
// station, G4ABC, on the CD in drive D. Each checks the arguments the program must pass and
// answers as the real library would; the call BAD1 makes it misbehave as a faulty library
// might (lengths beyond the buffers, records without their end), while itself staying inside
// the buffers it was given.
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#if defined(_WIN32)
#define EXPORTED extern "C" __declspec(dllexport)
#define LIBRARY_CALL __stdcall
#else
#define EXPORTED extern "C" __attribute__((visibility("default")))
#define LIBRARY_CALL
#endif

namespace {

void put(char* buffer, const std::string& bytes) {
    std::memcpy(buffer, bytes.data(), bytes.size());
}

}  // namespace

#if defined(TEST_HAMCAL)

EXPORTED int16_t LIBRARY_CALL LookupCallSign(char* path, char* call, int16_t* size, char* record) {
    if (std::strcmp(path, "D:\\ham0\\") != 0 || *size != 1000) {
        return -2;
    }
    const std::string wanted = call;
    if (wanted == "G4ABC") {
        // The text before the first tag, then tags 184-186 (name), 188, 191 and 192 (address),
        // 200 and one tag the program does not use (190).
        const std::string bytes =
            "G4ABC\xB8JOHN\xB9Q\xBASMITH\xBC"
            "1 HIGH STREET\xBF"
            "LONDON\xC0"
            "ENGLAND\xBEUNUSED\xC8"
            "1962";
        put(record, bytes);
        return static_cast<int16_t>(bytes.size());
    }
    if (wanted == "BAD1") {
        // A full buffer with no tags and a length far beyond it.
        std::memset(record, 'A', 1000);
        return 30000;
    }
    if (wanted.rfind("ERR", 0) == 0 && wanted.size() == 4) {
        return static_cast<int16_t>(-(wanted[3] - '0'));
    }
    return -1;
}

#elif defined(TEST_RACCD)

EXPORTED void LIBRARY_CALL sGetCallInfo(char* path, char* call, char* record, int16_t* status) {
    if (std::strcmp(path, "D:\\") != 0 && std::strcmp(path, "C:\\RAC\\") != 0) {
        *status = 7;
        return;
    }
    const std::string wanted = call;
    if (wanted == "g4abc") {
        // Field codes 1, 2 (name, address), 6 twice, 10, then the end.
        const std::string bytes =
            "\x01g4abc\x02JOHN SMITH,1 HIGH STREET\x06LONDON\x06"
            "ENGLAND\x0A"
            "1962";
        put(record, bytes + '\0');
        *status = 0;
    } else if (wanted == "bad1") {
        // A name field that fills the buffer, with no end code.
        record[0] = 2;
        std::memset(record + 1, 'B', 999);
        *status = 0;
    } else if (wanted == "err") {
        *status = 5;
    } else {
        *status = 1101;
    }
}

#elif defined(TEST_QRZ)

namespace {

bool g_initialised = false;
std::string g_found;

}  // namespace

struct Block {
    char bytes[12];
};

// Opened once: a second QRZInit in the same run fails, as a library that holds the CD
// might.
EXPORTED int32_t LIBRARY_CALL QRZInit(char* drive) {
    if (g_initialised || std::strcmp(drive, "D") != 0) {
        return 0;
    }
    g_initialised = true;
    return 1;
}

EXPORTED int16_t LIBRARY_CALL QRZSearch(int32_t mode, char* call, Block zero, Block drive,
                                        void* work, int16_t* one) {
    const Block empty = {};
    if (!g_initialised || mode != 1 || std::memcmp(zero.bytes, empty.bytes, 12) != 0 ||
        std::strcmp(drive.bytes, "D") != 0 || work == nullptr || *one != 1) {
        return 0;
    }
    g_found = call;
    return g_found == "G4ABC" || g_found == "BAD1" ? 1 : 0;
}

EXPORTED int32_t LIBRARY_CALL QRZField(int32_t field, char* text, int16_t* length) {
    static const std::map<int32_t, std::string> kFields = {
        {100, "JOHN SMITH"}, {8, "1 HIGH STREET"}, {9, "LONDON"}, {10, "ENGLAND"}, {2, ".INTERNET"},
    };
    // BAD1's: a text that fills the buffer with a length beyond it, a negative length, a
    // field of one letter, a zero; other fields are empty.
    static const std::map<int32_t, std::pair<std::string, int16_t>> kBadFields = {
        {100, {std::string(256, 'N'), 30000}}, {8, {"", -5}}, {9, {"Q", 1}}, {10, {"XYZ", 3}}};
    std::pair<std::string, int16_t> answer;
    if (g_found == "BAD1") {
        if (const auto at = kBadFields.find(field); at != kBadFields.end()) {
            answer = at->second;
        }
    } else if (const auto at = kFields.find(field); at != kFields.end()) {
        answer = {at->second, static_cast<int16_t>(at->second.size())};
    }
    put(text, answer.first);
    *length = answer.second;
    return 1;
}

// The program asks for the address but shows it nowhere: only its arguments matter here.
EXPORTED int32_t LIBRARY_CALL QRZGetEmail(const char*, char* text, int32_t size) {
    if (size != 128) {
        return 0;
    }
    const std::string address = "g4abc@example.org";
    put(text, address);
    return static_cast<int32_t>(address.size());
}

#endif
