// XML through expat.
#include <expat.h>

#include <limits>
#include <memory>

#include "reference/XmlEvents.h"

namespace vl {

namespace {

struct Context {
    XML_Parser parser = nullptr;
    XmlEvents* events = nullptr;
};

void XMLCALL on_start(void* user, const XML_Char* name, const XML_Char**) {
    auto* context = static_cast<Context*>(user);
    if (!context->events->start(name)) {
        XML_StopParser(context->parser, XML_FALSE);
    }
}

void XMLCALL on_end(void* user, const XML_Char*) {
    static_cast<Context*>(user)->events->end();
}

void XMLCALL on_text(void* user, const XML_Char* text, int length) {
    if (length > 0) {
        static_cast<Context*>(user)->events->text(
            std::string_view(text, static_cast<std::size_t>(length)));
    }
}

void XMLCALL on_doctype(void* user, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    XML_StopParser(static_cast<Context*>(user)->parser, XML_FALSE);
}

}  // namespace

bool read_xml_expat(std::string_view document, XmlEvents& events) {
    if (document.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return false;
    }
    std::unique_ptr<std::remove_pointer_t<XML_Parser>, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), &XML_ParserFree);
    if (!parser) {
        return false;
    }
    Context context{parser.get(), &events};
    XML_SetUserData(parser.get(), &context);
    XML_SetElementHandler(parser.get(), on_start, on_end);
    XML_SetCharacterDataHandler(parser.get(), on_text);
    XML_SetStartDoctypeDeclHandler(parser.get(), on_doctype);
    return XML_Parse(parser.get(), document.data(), static_cast<int>(document.size()), XML_TRUE) ==
           XML_STATUS_OK;
}

XmlReader system_xml_reader() {
    return read_xml_expat;
}

}  // namespace vl
