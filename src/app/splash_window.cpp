#include "app/splash_window.h"

#include "ui/twips.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

namespace {
// The tool's own picture: an anemometer beside a three-colour speed display.
class SplashPicture : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF area = rect();
        const qreal h = area.height();

        // Anemometer: a mast and three cups turning in the wind.
        const QPointF hub(area.left() + h * 0.9, h * 0.42);
        p.setPen(QPen(QColor(60, 60, 60), h * 0.05));
        p.drawLine(hub, QPointF(hub.x(), h * 0.95));
        for (int i = 0; i < 3; ++i) {
            p.save();
            p.translate(hub);
            p.rotate(i * 120.0 - 90.0);
            p.drawLine(QPointF(0, 0), QPointF(h * 0.34, 0));
            p.setBrush(QColor(200, 30, 30));
            p.drawEllipse(QPointF(h * 0.36, h * 0.06), h * 0.09, h * 0.07);
            p.restore();
        }

        // The display: dark panel, speed digits in the three range colours.
        const QRectF panel(area.left() + h * 2.0, h * 0.12, area.width() - h * 2.3, h * 0.76);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(25, 25, 25));
        p.drawRoundedRect(panel, h * 0.08, h * 0.08);
        const QColor colours[] = {QColor(0, 255, 0), QColor(255, 192, 128), QColor(255, 0, 0)};
        const QString texts[] = {QStringLiteral("12,5"), QStringLiteral("48"), QStringLiteral("96")};
        QFont digits(QStringLiteral("DejaVu Sans Mono"));
        digits.setBold(true);
        digits.setPixelSize(int(h * 0.42));
        p.setFont(digits);
        const qreal cell = panel.width() / 3.0;
        for (int i = 0; i < 3; ++i) {
            p.setPen(colours[i]);
            p.drawText(QRectF(panel.left() + i * cell, panel.top(), cell, panel.height()), Qt::AlignCenter,
                       texts[i]);
        }
        p.setPen(QColor(150, 150, 150));
        QFont unit = font();
        unit.setPixelSize(int(h * 0.1));
        p.setFont(unit);
        p.drawText(panel.adjusted(0, 0, -h * 0.08, -h * 0.02), Qt::AlignRight | Qt::AlignBottom,
                   QStringLiteral("km/h"));
    }
};

const char *const contactText =
    "KVL_PWS : configuration des afficheurs de vitesse du vent.\n"
    "Reliez le port série du PC au port série du panneau (4800 bauds), "
    "validez le port dans «\u00a0Configuration\u00a0» puis lisez les paramètres.\n"
    "Aide\u00a0: document KVL_PWS.doc dans le dossier du programme, menu «\u00a0?\u00a0».";
} // namespace

OMR_ND_SPLASH::OMR_ND_SPLASH(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("OMR_ND_SPLASH"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    fixClientTwips(this, 9150, 4245);

    auto *shape1 = new QFrame(this);
    shape1->setObjectName(QStringLiteral("Shape1"));
    shape1->setStyleSheet(QStringLiteral("QFrame#Shape1 { border: 1px solid #ff0000; background: transparent; }"));
    placeTwips(shape1, 75, 75, 9015, 4080);

    Picture1 = new SplashPicture(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    placeTwips(Picture1, 120, 120, 8895, 1725);

    Text1 = new QTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setFrameShape(QFrame::NoFrame);
    Text1->setPlainText(QString::fromUtf8(contactText));
    Text1->setAlignment(Qt::AlignCenter);
    placeTwips(Text1, 120, 1800, 8895, 1695);

    Label1 = new QLabel(QStringLiteral("Tachymetre spécial anémomètre sur KVL."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet(QStringLiteral("color: #ff0000; background: #ffffff;"));
    QFont comic = comicSans();
    comic.setPointSize(14);
    Label1->setFont(comic);
    placeTwips(Label1, 120, 3480, 8895, 375);

    lblVersion = new QLabel(versionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setAlignment(Qt::AlignCenter);
    lblVersion->setStyleSheet(QStringLiteral("background: #ffffff;"));
    placeTwips(lblVersion, 120, 3840, 8895, 255);

    // Whichever control has the focus or is clicked, the first key or click
    // hands over (Tab included: it would otherwise move the focus to Text1).
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &OMR_ND_SPLASH::finish);
    Timer1->start();

    setFocusPolicy(Qt::StrongFocus);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

QString OMR_ND_SPLASH::versionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(KVL_VERSION_MAJOR).arg(KVL_VERSION_MINOR).arg(KVL_VERSION_PATCH);
}

bool OMR_ND_SPLASH::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) {
        finish();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void OMR_ND_SPLASH::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    Timer1->stop();
    hide();
    emit finished();
    deleteLater();
}
