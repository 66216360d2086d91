#pragma once

// The count of reasons to hold back events. While it is above 0 no event handler is
// called; events are dropped, not queued. The shutdown sequence and the fatal-error
// report raise it and never lower it again.

namespace pricelookup::app {

class EventGate {
public:
    void raise() { ++m_reasons; }
    bool is_raised() const { return m_reasons > 0; }

private:
    int m_reasons = 0;
};

}  // namespace pricelookup::app
