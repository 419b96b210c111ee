#pragma once

#include "ui/messages.h"

#include <QString>

// Runs a file step until it succeeds or the user gives up ("Réessayer" /
// "Annuler"). Returns whether it succeeded.
template <class Step>
bool retrying(Messages &messages, const QString &failure, Step step)
{
    while (!step()) {
        if (messages.askRetry(Messages::Icon::None, failure) == Messages::Answer::Cancel)
            return false;
    }
    return true;
}
