#pragma once

#include <QWidget>

class QTextBrowser;

// The guide inside the tool, for a desktop where nothing opens KVL_PWS.doc:
// the same guide as formatted text, its table of contents linked to the chapters.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    QTextBrowser *browser() const { return m_browser; }
    QSize sizeHint() const override { return {720, 600}; }

private:
    QTextBrowser *m_browser;
};
