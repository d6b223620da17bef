#pragma once

// The one way the core talks to the user: message boxes with fixed texts and questions.
// The window shows them as dialogs, the command-line tool prints them, tests script the answers.

#include <string>
#include <string_view>

namespace korvana {

// FixAndAddOk: a refusal that offers to add a repaired copy ("Fix and Add") besides OK.
enum class PromptButtons { Ok, YesNo, YesNoCancel, FixAndAddOk };
enum class PromptAnswer { Ok, Yes, No, Cancel, FixAndAdd };
enum class PromptIcon { None, Information, Error };

class IPrompt {
public:
    virtual ~IPrompt() = default;
    // A box with one OK button. The caption is empty for most boxes (the application title is
    // shown).
    virtual void Message(std::string_view text, std::string_view caption, PromptIcon icon) = 0;
    virtual PromptAnswer Ask(std::string_view text, PromptButtons buttons) = 0;

    void Message(std::string_view text) { Message(text, {}, PromptIcon::None); }
};

// The prompt in effect for the whole process. Without an installed one, messages go to
// standard error and questions are answered No (nothing is overwritten or deleted unasked).
IPrompt& Prompt();

// Installs a prompt (nullptr restores the default). Returns the one it replaces.
IPrompt* SetPrompt(IPrompt* prompt);

// Installs a prompt for the lifetime of a scope.
class ScopedPrompt {
public:
    explicit ScopedPrompt(IPrompt& prompt) : m_pPrevious(SetPrompt(&prompt)) {}
    ~ScopedPrompt() { SetPrompt(m_pPrevious); }
    ScopedPrompt(const ScopedPrompt&) = delete;
    ScopedPrompt& operator=(const ScopedPrompt&) = delete;

private:
    IPrompt* m_pPrevious;
};

}  // namespace korvana
