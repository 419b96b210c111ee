#include "records/sheet_pdf.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

// Lays lines out top to bottom, starting a page when one is full.
class PageFlow
{
public:
    PageFlow(QPdfWriter &writer, QPainter &painter)
        : m_writer(writer)
        , m_painter(painter)
        , m_area(writer.pageLayout().paintRectPoints())
    {
    }

    double width() const { return m_area.width(); }

    // Room for `height` points, on a new page if this one lacks it.
    double take(double height)
    {
        if (m_y + height > m_area.height() && m_y > 0) {
            m_writer.newPage();
            m_y = 0;
        }
        const double top = m_y;
        m_y += height;
        return top;
    }

    void text(double x, double top, double width, double height, const QString &text,
              int flags = Qt::AlignLeft | Qt::TextSingleLine)
    {
        m_painter.drawText(QRectF(x, top, width, height), flags | Qt::AlignVCenter, text);
    }

    void rule(double top)
    {
        m_painter.drawLine(QPointF(0, top), QPointF(m_area.width(), top));
    }

    void skip(double height) { m_y += height; }

private:
    QPdfWriter &m_writer;
    QPainter &m_painter;
    QRectF m_area;
    double m_y = 0;
};

QFont font(double points, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    // Without ligatures the text stays searchable as typed ("Affichage").
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

} // namespace

QByteArray sheetPdf(const CommissioningSheet &sheet)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 16, 18, 16),
                                     QPageLayout::Millimeter));
    writer.setResolution(72); // one unit a point
    writer.setTitle(sheet.title);
    writer.setCreator(QStringLiteral("KVL_PWS"));

    QPainter painter(&writer);
    PageFlow flow(writer, painter);
    const double w = flow.width();
    constexpr double Line = 13;

    painter.setFont(font(16, true));
    flow.text(0, flow.take(24), w, 24, sheet.title);
    painter.setFont(font(10));
    flow.text(0, flow.take(Line), w, Line, sheet.header.join(QStringLiteral("     ")));
    flow.skip(4);

    for (const SheetSection &section : sheet.sections) {
        flow.skip(6);
        painter.setFont(font(11, true));
        const double top = flow.take(16);
        flow.text(0, top, w, 16, section.title);
        flow.rule(top + 16);
        flow.skip(2);
        painter.setFont(font(9));
        for (const SheetRow &row : section.rows) {
            const double y = flow.take(Line);
            flow.text(6, y, w * 0.55 - 6, Line, row.label);
            flow.text(w * 0.55, y, w * 0.45, Line, row.value);
        }
    }

    flow.skip(8);
    painter.setFont(font(11, true));
    // The table stays on one page, under its headings.
    const int lines = int(sheet.tableRows.size()) + (sheet.tableFailure.isEmpty() ? 0 : 1);
    double top = flow.take(18 + 2 * Line + 4 + lines * Line);
    flow.text(0, top, w, 16, sheet.tableTitle);
    flow.rule(top + 16);
    // The editor's row headings are long: two lines each.
    painter.setFont(font(8, true));
    const double column = w / sheet.tableHeadings.size();
    for (int c = 0; c < sheet.tableHeadings.size(); ++c)
        flow.text(c * column, top + 18, column - 8, 2 * Line, sheet.tableHeadings[c], Qt::AlignRight | Qt::TextWordWrap);
    painter.setFont(font(9));
    double y = top + 18 + 2 * Line + 4;
    if (!sheet.tableFailure.isEmpty()) {
        flow.text(0, y, w, Line, sheet.tableFailure);
        y += Line;
    }
    for (const QStringList &row : sheet.tableRows) {
        for (int c = 0; c < row.size(); ++c)
            flow.text(c * column, y, column - 8, Line, row[c], Qt::AlignRight | Qt::TextSingleLine);
        y += Line;
    }

    flow.skip(8);
    painter.setFont(font(11, true));
    top = flow.take(18 + 4 * Line);
    flow.text(0, top, w, 16, sheet.memoryTitle);
    flow.rule(top + 16);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(10);
    mono.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(mono);
    for (int r = 0; r < sheet.memoryRows.size(); ++r)
        flow.text(6, top + 18 + r * Line, w, Line, sheet.memoryRows[r]);
    painter.end();
    return bytes;
}
