#include "shell/ui/frmAbout.h"

#include "shell/AboutInfo.h"
#include "shell/AppContext.h"
#include "shell/AppGlobals.h"
#include "shell/ui/AppGlobalsUi.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

static void initShellResources()
{
    Q_INIT_RESOURCE(frmMain);
}

namespace kalvo {

namespace {

QLabel *makeLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    return l;
}

} // namespace

frmAbout::frmAbout(AppContext &context, QWidget *parent) : QDialog(parent), m_ctx(context)
{
    initShellResources();
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("O programu Kalvo..."));
    setModal(true);

    auto *picture = new QLabel(this);
    picture->setObjectName("picIcon");
    picture->setPixmap(QPixmap(QStringLiteral(":/shell/kalvo.png")));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *title = makeLabel("lblTitle", QStringLiteral("Kalvo"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    auto *version = makeLabel("lblVersion", QStringLiteral("Version ") + VersionText(), this);
    auto *description = makeLabel(
        "lblDescription",
        QStringLiteral("Programiranje i rad fiskalnih kasa sa racunara preko serijske linije.\n"
                       "Copyright \u00A9 Orvel Cash Registers. Sva prava zadrzana."),
        this);
    auto *warning = makeLabel(
        "lblDisclaimer",
        QStringLiteral("Upozorenje: ovaj program je zasticen zakonom o autorskim pravima. Neovlasceno "
                       "umnozavanje ili distribucija ovog programa, ili bilo kog njegovog dela, "
                       "kaznjivo je po zakonu."),
        this);
    QFont small = warning->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    warning->setFont(small);

    // the three links: downloads page, contact address, web site
    const AboutLinks links = ReadAboutLinks(m_ctx);
    m_webAddress = links.web;
    const struct {
        QString caption, address;
    } rows[] = {{QStringLiteral("Preuzimanja: "), links.download},
                {QStringLiteral("Kontakt: "), links.mail},
                {QStringLiteral("Web: "), links.web}};
    auto *linkBox = new QVBoxLayout;
    linkBox->setSpacing(2);
    for (int i = 0; i < 3; ++i) {
        auto *l = makeLabel("lblWeb", QString(), this);
        l->setProperty("index", i);
        l->setProperty("address", rows[i].address);
        l->setWordWrap(false);
        if (rows[i].address.isEmpty()) {
            l->setText(rows[i].caption + QStringLiteral("(nije podeseno)"));
            l->setEnabled(false);
        } else {
            l->setText(rows[i].caption + QStringLiteral("<a href=\"#\">") + rows[i].address.toHtmlEscaped() +
                       QStringLiteral("</a>"));
            l->setTextFormat(Qt::RichText);
            l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
            const QString address = rows[i].address;
            connect(l, &QLabel::linkActivated, this, [this, address] { openAddress(address); });
        }
        linkBox->addWidget(l);
    }

    auto *hot = new QLabel(this);
    hot->setObjectName("imgHot");
    hot->setPixmap(QPixmap(QStringLiteral(":/shell/kalvo.png"))
                       .scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    hot->setToolTip(m_webAddress);
    if (!m_webAddress.isEmpty())
        hot->setCursor(Qt::PointingHandCursor);
    hot->installEventFilter(this);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *sysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    sysInfo->setObjectName("cmdSysInfo");
    connect(sysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(description);
    text->addSpacing(8);
    text->addLayout(linkBox);
    text->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(hot, 0, Qt::AlignBottom);
    bottom->addSpacing(8);
    bottom->addWidget(warning, 1);
    bottom->addSpacing(12);
    bottom->addLayout(buttons);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(16, 16, 16, 12);
    root->addLayout(top);
    root->addSpacing(6);
    root->addWidget(line);
    root->addLayout(bottom);
    setMinimumWidth(600);
}

void frmAbout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        adjustSize();
        CenterOnScreen(this);
    }
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched->objectName() == QLatin1String("imgHot") && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        openAddress(m_webAddress);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::openAddress(const QString &address)
{
    if (address.trimmed().isEmpty())
        return;
    OpenDocument(LinkTarget(address), m_ctx.appFolder);
}

void frmAbout::cmdSysInfo_Click()
{
    const QString program = FindSystemInfoTool(m_ctx);
    if (program.isEmpty() || !QProcess::startDetached(program, {})) {
        m_ctx.ui().tell(QStringLiteral("Sistemske informacije trenutno nisu dostupne"), QString::fromLatin1(kAppTitle),
                        Icon::Exclamation);
    }
}

} // namespace kalvo
