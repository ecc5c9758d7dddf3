// Reading an XML document as a stream of element starts, ends and texts, for the call book's
// answers. Two readers give the same events: expat's where the build has it, and a small one
// of our own (the Windows build has no expat). Both refuse a document type declaration, so
// no entity is ever expanded, and stop at the first fault.
#pragma once

#include <string_view>

namespace vl {

class XmlEvents {
public:
    virtual ~XmlEvents() = default;
    // The element's name as written, prefix included; false stops the reading.
    virtual bool start(std::string_view name) = 0;
    virtual void end() = 0;
    // Text within the innermost element, UTF-8, in one or more parts.
    virtual void text(std::string_view part) = 0;
};

using XmlReader = bool (*)(std::string_view document, XmlEvents& events);

// True when the document is well-formed UTF-8 XML, declares no document type, and
// `events` did not stop it.
bool read_xml_expat(std::string_view document, XmlEvents& events);
bool read_xml_plain(std::string_view document, XmlEvents& events);

// The reader of this build: expat's when it has it.
XmlReader system_xml_reader();

}  // namespace vl
