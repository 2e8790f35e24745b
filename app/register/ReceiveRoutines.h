#pragma once
#include <optional>
// Reading programming data and sales back from the register: one routine per data kind,
// each returning true when the kind was read to its end, plus the two operations that
// change the register (delete all its articles, erase its article sales). The receive
// window drives them; everything here runs without widgets.
#include "register/SendRoutines.h" // RoutineCallbacks

#include <QByteArray>
#include <QString>

#include <functional>

namespace kalvo {

struct AppContext;

class ReceiveRoutines {
public:
    // The kinds in reading order (the rows of the receive window's list).
    enum Kind {
        Departments, Articles, SoldArticles, Operators, Currencies, System, VatRates, Units,
        ArticleTypes, KindCount
    };
    struct KindInfo {
        const char *item;    // list text
        const char *caption; // Label1 while the kind is read
    };
    static const KindInfo &kindInfo(Kind kind);

    explicit ReceiveRoutines(AppContext &ctx, RoutineCallbacks callbacks = {});

    // Tests the link (modem variant when ModemLink is on). On failure only the link
    // library's own message has been shown.
    bool testLink();
    bool run(Kind kind);

    bool ricevi_rep();
    bool ricevi_plu();
    bool ricevi_plu_sold();
    bool ricevi_op();
    bool ricevi_val();
    bool ricevi_sist();
    bool ricevi_Iva();
    bool ricevi_units();
    bool ricevi_tip();

    // "Brisanje PLU": after "Da li ste sigurni?", deletes every article in the register
    // with "PD", counting the remaining articles down through recordNumber.
    void Command1_Click();
    // "Brisanje prom.": after "Da li ste sigurni?", erases the register's article sales
    // with "PE" and waits for the register to finish.
    void Command2_Click();

private:
    enum class Got { Answer, Ack, Cancelled };
    // One request: a damaged or missing answer asks Retry/Cancel with the routine's text.
    // On an answer, ReplyText is set (commas turned into points when asked) and reply_
    // holds the answer's payload.
    Got get(const QByteArray &request, const QString &failure, bool slow = false,
            bool decimalPoints = false);
    // One get exchange of the request (get_frame120s when slow, else the line's variant).
    int exchange(const QByteArray &request, bool slow = false);
    bool readArticles(bool sold);
    // The names of a 1-based table of named records (units, article types), one request
    // per element; the table's Cyrillic flag tells whether they came in 8-bit Cyrillic.
    template <typename Table>
    bool receiveNames(Table &table, int count, bool &cyrillicFlag, QByteArray (*request)(int),
                      std::optional<QByteArray> (*parse)(QByteArrayView), const QString &failureFormat);
    bool confirm();
    void progress(int record);

    AppContext &ctx_;
    RoutineCallbacks cb_;
    QByteArray reply_; // payload of the last answer
};

} // namespace kalvo
