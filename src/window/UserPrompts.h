#pragma once

#include <QString>
#include <string>

class QWidget;

// Every question the window puts to the user goes through here: the folder
// dialog and the Yes/No message boxes. The window uses DialogPrompts; tests
// answer with their own implementation.
namespace versemark {

enum class PromptIcon { None, Question };

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    // The folder the user chose, as file-system bytes; empty when cancelled.
    virtual std::string ChooseFolder(QWidget* owner, const QString& instruction) = 0;
    // A modal Yes/No box titled "Versemark"; true for Yes.
    virtual bool AskYesNo(QWidget* owner, const QString& text, PromptIcon icon) = 0;
};

// The one-file run's log in a modal box titled "Versemark", its bytes shown as
// display text and as plain text: a file name with "<" in it is not markup.
// Returns when the user has closed the box.
void ShowLogMessage(const std::string& log);

class DialogPrompts : public UserPrompts {
  public:
    std::string ChooseFolder(QWidget* owner, const QString& instruction) override;
    bool AskYesNo(QWidget* owner, const QString& text, PromptIcon icon) override;
};

}  // namespace versemark
