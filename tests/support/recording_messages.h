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

    // Yes once the queue is empty: steps that predate a question go on.
    Answer askYesNo(Icon icon, const QString &text) override
    {
        shown.append({icon, text});
        return yesNoAnswers.isEmpty() ? Answer::Yes : yesNoAnswers.takeFirst();
    }

    QList<Shown> shown;
    QList<Answer> retryAnswers;
    QList<Answer> yesNoAnswers;

    QStringList texts() const
    {
        QStringList list;
        for (const Shown &s : shown)
            list.append(s.text);
        return list;
    }
    void clear() { shown.clear(); }
};

// Messages that many flows end with.
inline const RecordingMessages::Shown noPortShown{
    Messages::Icon::Exclamation,
    QStringLiteral("Pas de port COM ouvert. Veuillez valider la Configuration dans le menu Configuration.")};
inline const RecordingMessages::Shown readDoneShown{Messages::Icon::Information,
                                                    QStringLiteral("Lecture effectuée avec succés.")};
inline const RecordingMessages::Shown writtenShown{Messages::Icon::Information,
                                                   QStringLiteral("Programmation effectuée avec succés.")};
