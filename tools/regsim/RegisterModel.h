#pragma once
// The simulated register: keeps every programming table the workstation writes, answers
// every read from the same state, and plays a Hayes modem on the same line.
//
// Written from the byte layouts of the command set on its own (it shares no code with the
// workstation's builders and parsers), so that the two check each other on the wire.
//
// Frames (payloads as they arrive; a malformed payload of a known command is refused with
// NAK, a command this register does not know is acknowledged):
//   "T" link test; "R" "PR" "PQ" "O" "U" "X" "S" "A" "QR" "ZR" "k" writes; "PD" delete an
//   article (NAK when it is unknown or has sales not yet erased: a daily report is due);
//   "PE" erase the article sales; "N0"/"N1" logo slot; "m01"+hex key press; reads "B" "D"
//   "E" "L" "M" "QT" "ZT" "n", and the article lists "PTFIRST" (first article, also starts
//   both lists), "PTNEXT" (next article), "PTSOLD" (next article with a quantity sold);
//   a bare ACK when there is no (further) record.
//
// Modem (unframed text lines): AT commands are echoed (unless "modem echo=0"); "ATD..."
// (ATDT/ATDP/ATD) answers with the configured dial result, by default "CONNECT 9600";
// after a CONNECT the next text line is recorded as the password; "ATH..." or "+++"
// hangs up and answers "OK"; any other AT command answers "OK".
//
// State file (--state; loaded on top of the defaults, so a file need hold only what it
// changes; written whole at exit). One record per line; blank lines and lines starting
// with '#' are ignored. A record is a keyword, for numbered tables the record number as it
// travels on the line, then key=value fields. A value is a bare word (no blanks or quotes)
// or a double-quoted text in which \\ \" \n \r \t \0 and \xHH stand for bytes. Texts are
// kept as the payload wrote them (padding included); figures are plain digits (hundredths
// for amounts, thousandths for quantities and stock).
//
//   department 0..9  name= maxprice= amount= quantity=
//   vat 0..9         rate= amount=
//   operator 0..30   name= code= amount= receipts=
//   currency 0..3    name= rate=
//   unit 1..5        name=
//   type 1..8        name=
//   header 0..5      image=          (the print image as sent, without the closing NUL)
//   advert 0..5      image=
//   message          row1= row2= row3=
//   settings         value=          (the 14 characters after "X"; what "L" returns)
//   article          code= department= name= price= single= vat= unit= type=
//                    total= quantity= stock=     (code: 12 digits, the key)
//   status           menu= error= state= count=  (count=auto: the number of articles)
//   modem            dial= echo=0|1 password=    (the dial= fields of a record replace the
//                    list of results answered in turn, the last one repeating; a result is the text sent
//                    between CR LF pairs, e.g. "BUSY", "NO CARRIER", "NO ANSWER",
//                    "NO DIALTONE", "RING", "CONNECT 9600", or "none" for no answer)
//   reply            request= answer=ack|nak|silent|frame payload=
//                    (a fixed answer to one exact request payload, ahead of the tables)
//   clear            articles|replies|modem  (forget the articles / fixed replies / dial
//                    results of the defaults or of earlier lines; with no dial result
//                    left a dial is answered NO CARRIER)
//   log              logo= key=      (written only: the last logo slot and key press)
#include "Responder.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace regsim {

class RegisterModel : public Responder {
public:
    RegisterModel();

    Reply onFrame(const std::string &payload) override;
    std::string onTextLine(const std::string &line) override;
    bool load(const std::string &path, std::string &error) override;
    bool dump(const std::string &path, std::string &error) const override;

    // One state-file record (also what --set passes); false with a message.
    bool applyLine(const std::string &line, std::string &error);
    // Every record of a text, lines numbered in the message; false at the first bad one.
    bool applyText(const std::string &text, std::string &error);
    // The whole state as a state file.
    std::string stateText() const;

    // The help text for the state file and the modem (for kalvo-regsim --help).
    static const char *helpText();

    struct Department { std::string name, maxPrice, amount, quantity; };
    struct VatRate { std::string rate, amount; };
    struct Operator { std::string name, code, amount, receipts; };
    struct Currency { std::string name, rate; };
    struct Article {
        std::string department, name, price, single, vat, unit, type;
        std::string total, quantity, stock;
    };
    struct Status { int menu = 0, error = 0, state = 0, count = -1; }; // count -1: auto
    struct FixedReply { Reply::Kind kind = Reply::Ack; std::string payload; };

    std::array<Department, 10> departments;
    std::array<VatRate, 10> vatRates;
    std::array<Operator, 31> operators;
    std::array<Currency, 4> currencies;
    std::array<std::string, 5> units;    // units 1..5 at 0..4
    std::array<std::string, 8> types;    // types 1..8 at 0..7
    std::array<std::string, 6> headerLines, advertLines;
    std::array<std::string, 3> messageRows;
    std::string settings;                // 14 characters
    std::map<std::string, Article> articles; // by 12-digit code, the list order
    Status status;
    std::map<std::string, FixedReply> fixedReplies;

    std::vector<std::string> dialResults;
    bool modemEcho = true;
    bool modemConnected = false;
    std::string password;
    std::string lastLogoSlot, lastKey;

private:
    Reply write(const std::string &p);
    Reply read(const std::string &p);
    Reply articleAnswer(std::map<std::string, Article>::const_iterator it);
    std::string dialAnswer();

    bool awaitingPassword_ = false;
    std::size_t dialsAnswered_ = 0;
    bool listStarted_ = false;
    std::string cursor_; // code of the article last given by the article lists
};

} // namespace regsim
