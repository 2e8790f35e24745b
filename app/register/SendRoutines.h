#pragma once
// Sending programming data to the register: one routine per data kind, each returning
// true when every record was accepted. The send window drives them and shows their
// progress; everything here runs without widgets.
#include <QString>

#include <array>
#include <functional>
#include <string>

namespace kalvo {

struct AppContext;

// What a routine reports to its window while it runs.
struct RoutineCallbacks {
    // The record last handled (the send window's Label6, the receive window's Label7).
    std::function<void(int)> recordNumber;
    // Lets the window repaint after each record.
    std::function<void()> processEvents;
    // The caption of the kind being handled (Label1); used by operations that set it
    // themselves.
    std::function<void(const QString &)> kindCaption;
};

class SendRoutines {
public:
    // The kinds in sending order (the rows of the send window's list).
    enum Kind {
        Departments, Articles, ArticleStock, Operators, Currencies, System, Header, Advert,
        Units, ArticleTypes, Message, KindCount
    };
    struct KindInfo {
        const char *item;    // list text
        const char *caption; // Label1 while the kind is sent
    };
    static const KindInfo &kindInfo(Kind kind);

    explicit SendRoutines(AppContext &ctx, RoutineCallbacks callbacks = {});

    // Tests the link (modem variant when ModemLink is on); on failure shows
    // "Veza nije u redu!" and returns false.
    bool testLink();
    // Runs the routine of one kind.
    bool run(Kind kind);

    bool invia_rep();
    bool invia_plu();
    bool invia_plu_inv();
    bool invia_op();
    bool invia_val();
    bool invia_sist();
    bool invia_int();
    bool invia_adv();
    bool invia_units();
    bool invia_tip();
    bool Posalji_Msg();

    // The three message rows (register bytes). The window puts its rows here before a
    // send and takes them back afterwards: the routines normalise them.
    std::array<std::string, 3> messageRows;
    // Replaces each message row by its normalised form (register code when CyrillicMode
    // is on, plain Latin when it is off).
    void normaliseMessageRows();

    // Text normalisation applied to every text before it goes into a payload, and the
    // 8-bit Cyrillic encoding applied when DisplayCyrillic is on.
    std::string normalised(const std::string &text) const;
    std::string encoded(const std::string &text) const;

private:
    enum class Sent { Accepted, Cancelled, Silent };
    // One payload: ACK done; NAK asks Retry/Cancel with the refusal text; no answer
    // shows "Komunikacija je prekinuta!".
    Sent send(const std::string &payload, const QString &refusal);
    bool sendLines(bool header);
    bool sendArticles(bool stockOnly);
    void progress(int record);

    AppContext &ctx_;
    RoutineCallbacks cb_;
};

} // namespace kalvo
