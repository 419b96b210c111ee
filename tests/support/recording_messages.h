#pragma once

#include "ui/messages.h"

#include <QList>
#include <QString>

// Records every message instead of showing it; answers retry questions from a
// queue (Cancel once the queue is empty).
class RecordingMessages : public Messages
{
public:
    struct Shown
    {
        Icon icon;
        QString text;
        bool operator==(const Shown &) const = default;
    };

    void show(Icon icon, const QString &text) override;
    Answer askRetry(Icon icon, const QString &text) override;

    QList<Shown> shown;
    QList<Answer> retryAnswers;

    QStringList texts() const;
    void clear() { shown.clear(); }
};
