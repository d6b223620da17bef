#include "common/Prompt.h"

#include <atomic>
#include <cstdio>

#include "common/RecordingPrompt.h"

namespace korvana {
namespace {

class StderrPrompt : public IPrompt {
public:
    using IPrompt::Message;
    void Message(std::string_view text, std::string_view caption, PromptIcon) override {
        if (!caption.empty())
            std::fprintf(stderr, "%.*s: ", static_cast<int>(caption.size()), caption.data());
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
    PromptAnswer Ask(std::string_view text, PromptButtons) override {
        Message(text, {}, PromptIcon::None);
        return PromptAnswer::No;
    }
};

StderrPrompt g_stderrPrompt;
std::atomic<IPrompt*> g_pPrompt{nullptr};

}  // namespace

IPrompt& Prompt() {
    IPrompt* prompt = g_pPrompt.load(std::memory_order_acquire);
    return prompt ? *prompt : g_stderrPrompt;
}

IPrompt* SetPrompt(IPrompt* prompt) {
    return g_pPrompt.exchange(prompt, std::memory_order_acq_rel);
}

void RecordingPrompt::Message(std::string_view text, std::string_view caption, PromptIcon) {
    m_texts.emplace_back(text);
    m_captions.emplace_back(caption);
    m_questions.push_back(false);
}

PromptAnswer RecordingPrompt::Ask(std::string_view text, PromptButtons) {
    m_texts.emplace_back(text);
    m_captions.emplace_back();
    m_questions.push_back(true);
    if (m_answers.empty())
        return m_fallback;
    PromptAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void RecordingPrompt::Script(std::initializer_list<PromptAnswer> answers) {
    m_answers.insert(m_answers.end(), answers.begin(), answers.end());
}

}  // namespace korvana
