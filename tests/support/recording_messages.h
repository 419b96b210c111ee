#pragma once

#include "ui/messages.h"

#include <QList>
#include <QString>
#include <QStringList>

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

    void show(Icon icon, const QString &text) override { shown.append({icon, text}); }
    Answer askRetry(Icon icon, const QString &text) override
    {
        shown.append({icon, text});
        return retryAnswers.isEmpty() ? Answer::Cancel : retryAnswers.takeFirst();
    }

    QList<Shown> shown;
    QList<Answer> retryAnswers;

    QStringList texts() const
    {
        QStringList list;
        for (const Shown &s : shown)
            list.append(s.text);
        return list;
    }
    void clear() { shown.clear(); }
};
