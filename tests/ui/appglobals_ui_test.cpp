// Widget helpers: centring, opening documents, the hourglass guard.
#include "shell/ui/AppGlobalsUi.h"

#include <QApplication>
#include <QDesktopServices>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <stdexcept>

using namespace kalvo;

class AppGlobalsUiTest : public QObject {
    Q_OBJECT
    QList<QUrl> m_opened;

public slots:
    void open(const QUrl &url) { m_opened << url; }

private slots:
    void initTestCase()
    {
        for (const char *scheme : {"file", "http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }

    void cleanupTestCase()
    {
        for (const char *scheme : {"file", "http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    void centersOnScreen()
    {
        QWidget w;
        w.resize(300, 120);
        w.move(0, 0);
        w.show();
        CenterOnScreen(&w);
        const QRect screen = w.screen()->geometry();
        QCOMPARE(w.frameGeometry().left(), screen.x() + (screen.width() - w.frameGeometry().width()) / 2);
        QCOMPARE(w.frameGeometry().top(), screen.y() + (screen.height() - w.frameGeometry().height()) / 2);
        CenterOnScreen(nullptr); // no window: nothing happens
    }

    void openDocument_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QUrl>("expected");
        QTest::newRow("relative to folder") << "docs/a b.pdf" << "/opt/kalvo/"
                                            << QUrl::fromLocalFile("/opt/kalvo/docs/a b.pdf");
        QTest::newRow("absolute ignores folder") << "/srv/x.txt" << "/opt/kalvo/" << QUrl::fromLocalFile("/srv/x.txt");
        QTest::newRow("folder itself") << "/opt/kalvo/docs/" << "" << QUrl::fromLocalFile("/opt/kalvo/docs");
        QTest::newRow("web address") << "https://example.org/download?x=1" << "/opt/kalvo/"
                                     << QUrl("https://example.org/download?x=1");
        QTest::newRow("mail address") << " mailto:servis@example.org " << "" << QUrl("mailto:servis@example.org");
    }

    void openDocument()
    {
        QFETCH(QString, file);
        QFETCH(QString, folder);
        m_opened.clear();
        QVERIFY(OpenDocument(file, folder));
        QCOMPARE(m_opened.size(), 1);
        QTEST(m_opened.first(), "expected");
    }

    void openNothing()
    {
        m_opened.clear();
        QVERIFY(!OpenDocument("   ", "/opt"));
        QVERIFY(m_opened.isEmpty());
    }

    void busyCursorRestoredOnEveryWayOut()
    {
        QVERIFY(!QApplication::overrideCursor());
        {
            BusyCursor outer;
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            try {
                BusyCursor inner;
                throw std::runtime_error("line dropped");
            } catch (const std::runtime_error &) {
            }
            QVERIFY(QApplication::overrideCursor());
        }
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(AppGlobalsUiTest)
#include "appglobals_ui_test.moc"
