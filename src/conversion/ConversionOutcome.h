#pragma once

// What one conversion came to, as one value: its log entries and message texts in the order they
// arose, its result, and what it produced. The converter shows nothing itself; the window and the
// command-line tool show the messages through their prompt, in order.

#include <cstdint>
#include <string>
#include <vector>

namespace korvana {

class IPrompt;

struct ConversionOutcome {
    enum class Kind { LogEntry, Message };
    struct Item {
        Kind kind;
        std::string text;

        bool operator==(const Item&) const = default;
    };

    bool result = false;      // the converter's own result
    std::vector<Item> items;  // log entries and message texts in order
    // Why the outputs could not be written ("path: reason"); empty when they were, or were not
    // to be.
    std::string writeFailure;
    // The control entry's bytes followed by the pattern data: the image a send transfers. Filled
    // only for an accepted song converted in memory with binary output.
    std::vector<std::uint8_t> image;

    // An accepted song leaves the log empty.
    bool Accepted() const;
    std::vector<std::string> Errors() const;
    std::vector<std::string> Messages() const;
    // Shows the message texts as message boxes, in the order they arose.
    void ShowMessages(IPrompt& prompt) const;
};

}  // namespace korvana
