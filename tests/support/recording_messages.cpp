#include "support/recording_messages.h"

void RecordingMessages::show(Icon icon, const QString &text)
{
    shown.append({icon, text});
}

Messages::Answer RecordingMessages::askRetry(Icon icon, const QString &text)
{
    shown.append({icon, text});
    return retryAnswers.isEmpty() ? Answer::Cancel : retryAnswers.takeFirst();
}

QStringList RecordingMessages::texts() const
{
    QStringList list;
    for (const Shown &s : shown)
        list.append(s.text);
    return list;
}
