#pragma once

#include "resources/XMLElement.h"

#include <string>

struct XML_ParserStruct;

// Receives the events of XMLParser::Parse. The element is reused between calls.
class XMLListener
{
public:
    virtual ~XMLListener() = default;
    virtual void OnXMLElement(const XMLElement& element) = 0;
};

// Parses XML with expat: UTF-8, or UTF-16 little- or big-endian when the bytes start with the
// matching byte-order mark (or, without one, with a zero byte). In UTF-16 an unpaired surrogate reads
// as U+FFFD. Every run of text between two tags arrives as one event, whole.
class XMLParser
{
public:
    // Parses all of bytes, calling the listener for each event. False on malformed XML; the error
    // text and line are kept.
    bool Parse(const std::string& bytes, XMLListener& listener);

    const std::string& GetErrorText() const { return m_errorText; }
    int GetErrorLine() const { return m_errorLine; }

    // From inside a listener call: ends the walk after this event, and Parse returns false with the
    // reason as its error text and the line of the event being handled.
    void Stop(const std::string& reason);

private:
    std::string m_errorText;
    int m_errorLine = 0;
    // The expat parser while Parse runs.
    XML_ParserStruct* m_running = nullptr;
    bool m_stopped = false;
};
