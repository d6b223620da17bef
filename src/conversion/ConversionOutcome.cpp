#include "conversion/ConversionOutcome.h"

#include <algorithm>

#include "common/Prompt.h"

namespace korvana {
namespace {

std::vector<std::string> TextsOf(const std::vector<ConversionOutcome::Item>& items,
                                 ConversionOutcome::Kind kind) {
    std::vector<std::string> texts;
    for (const ConversionOutcome::Item& item : items) {
        if (item.kind == kind)
            texts.push_back(item.text);
    }
    return texts;
}

}  // namespace

bool ConversionOutcome::Accepted() const {
    return std::none_of(items.begin(), items.end(),
                        [](const Item& item) { return item.kind == Kind::LogEntry; });
}

std::vector<std::string> ConversionOutcome::Errors() const {
    return TextsOf(items, Kind::LogEntry);
}

std::vector<std::string> ConversionOutcome::Messages() const {
    return TextsOf(items, Kind::Message);
}

void ConversionOutcome::ShowMessages(IPrompt& prompt) const {
    for (const Item& item : items) {
        if (item.kind == Kind::Message)
            prompt.Message(item.text);
    }
}

}  // namespace korvana
