#include "shell/Prompter.h"

#include <QTest>

using namespace kalvo;

class PrompterTest : public QObject {
    Q_OBJECT
private slots:
    void scriptedAnswersThenSafeDefaults()
    {
        ScriptedPrompter p;
        p.answer(Answer::Retry);
        QCOMPARE(p.ask("a", "t", Icon::Exclamation, Buttons::RetryCancel), Answer::Retry);
        QCOMPARE(p.ask("b", "t", Icon::Exclamation, Buttons::RetryCancel), Answer::Cancel);
        QCOMPARE(p.ask("c", "t", Icon::Question, Buttons::YesNo), Answer::No);
        QCOMPARE(p.texts(), QStringList({"a", "b", "c"}));
        QCOMPARE(p.last().icon, Icon::Question);
    }
};

QTEST_GUILESS_MAIN(PrompterTest)
#include "prompter_test.moc"
