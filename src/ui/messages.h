#pragma once

#include <QString>

// The modal message boxes of the tool, titled with the application's name.
// Production shows QMessageBox; tests record what was shown and answer it.
class Messages
{
public:
    enum class Icon { None, Information, Exclamation, Critical };
    enum class Answer { Ok, Retry, Cancel, Yes, No };

    virtual ~Messages() = default;

    // A message with an OK button.
    virtual void show(Icon icon, const QString &text) = 0;
    // A message offering "Réessayer" and "Annuler".
    virtual Answer askRetry(Icon icon, const QString &text) = 0;
    // A question answered "Oui" (Yes) or "Non" (No).
    virtual Answer askYesNo(Icon icon, const QString &text) = 0;
};
