#pragma once

#include <string>
#include <vector>

class TiXmlElement;

namespace corvane {

// Scripted input for runs without a user: actions and clicks at given times of the host
// (the sum of the frame times since start).
//
//   <script>
//     <action time="1.5" name="SHOW_MENU"/>                   a tap in the frame reaching 1.5 s
//     <action time="4" name="EXIT" duration="1"/>             held from 4 s for 1 s
//     <click time="2" element="ZORV/EscapeMenu/Resume"/>      a click on an element
//     <click time="3" element="ZORV/About" box="close"/>      on a window's close box
//     <click time="5" x="0.5" y="0.9"/>                       at a place (fractions of the window)
//   </script>
class InputScript {
public:
    struct Entry {
        enum Kind { ACTION, CLICK_ELEMENT, CLICK_CLOSE_BOX, CLICK_AT };
        Kind kind;
        double time;      // seconds of host time
        double duration;  // actions: how long the action is held; 0 is a tap
        std::string name; // the action or element
        float x;          // CLICK_AT: fractions of the window
        float y;
    };

    // Reads the script's entries; an entry it cannot use is one diagnostic line and is
    // skipped. Entries are kept in time order (equal times in document order).
    void parse(const TiXmlElement* script);
    const std::vector<Entry>& entries() const { return script; }

    // Advances host time by `seconds`; returns the entries that fall due in this frame
    // (time at or before the new host time, not given out before), in time order.
    std::vector<Entry> advance(double seconds);
    // The actions held at the current host time.
    std::vector<std::string> heldActions() const;
    double now() const { return hostTime; }

private:
    std::vector<Entry> script;
    std::size_t next = 0;
    double hostTime = 0.0;
};

} // namespace corvane
