#pragma once
/*
 * libZibDll.so — the serial link to the cash register.
 *
 * One port per process, one exchange per call. Every message on the line is a frame:
 *
 *     STX 0x02 | payload (L bytes) | c1 | c2 | ETX 0x03
 *
 * where C = ~(sum of the payload bytes mod 256), c1 = 0x30 | (C & 0x0F), c2 = 0x30 | (C >> 4).
 * The payload "T" is framed as 02 54 3B 3A 03. Single control bytes: ACK 0x06 (accepted),
 * NAK 0x15 (refused).
 *
 * Ports. Port number n names "COM<n>". The device is the value of the environment variable
 * ZIB_COM<n> when it is set, else /dev/ttyS<n-1>. The line runs raw, 8 data bits, no parity,
 * 2 stop bits, CLOCAL|CREAD, opened exclusively (TIOCEXCL) and without becoming the
 * controlling terminal.
 *
 * Time-outs. Every time-out below is multiplied by the environment variable ZIB_TIMEOUT_SCALE
 * (a positive decimal such as "0.05"; missing, zero, negative or unreadable means 1), read
 * afresh on every call. It exists so that tests of silence take milliseconds; nothing else
 * should set it. A time-out is reached when the elapsed time (CLOCK_MONOTONIC) is strictly
 * greater than the limit. Waiting never spins: the library sleeps in poll() for the time left.
 * When the device has gone away (the other end hung up), a wait sleeps out its time-out and
 * the call ends with its time-out result.
 *
 * Messages. The library shows two messages of its own: "Port je zauzet!" (open failed) and
 * "Podesite vezu i pokusajte ponovo!" (link test failed), both titled "ZibDll". They go to the
 * handler set with Zib_SetMessageHandler, else to stderr.
 *
 * Buffers. A payload is at most 252 bytes (send_data: 256 bytes); a receive buffer must hold
 * 250 bytes. Arguments out of these bounds (or null pointers where bytes are needed) make
 * the call fail at once without touching the line (see each function).
 *
 * The library is not re-entrant: call it from one thread, one exchange at a time.
 */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ZIB_EXPORT __attribute__((visibility("default")))

enum {
    ZIB_MAX_PAYLOAD = 252, /* largest frame payload the transmit buffer holds */
    ZIB_MAX_RAW = 256,     /* largest send_data */
    ZIB_RECEIVE_SIZE = 250 /* receive limit and the size a receive buffer must have */
};

/* Receives the library's messages: text and title are NUL-terminated byte strings. */
typedef void (*ZibMessageHandler)(const char *text, const char *title, void *user);

/* Routes the library's messages to `handler` (called with `user`); null restores stderr. */
ZIB_EXPORT void Zib_SetMessageHandler(ZibMessageHandler handler, void *user);

/*
 * Opens port `port` at 9600 baud. Same as Init_RS232bd(port, 9600).
 */
ZIB_EXPORT int32_t Init_RS232(int32_t port);

/*
 * Opens port `port` (1, 2, ...) at `baud`. A port already open is closed first.
 * Returns 0: open and set; 1: the device could not be opened (after "Port je zauzet!"), the
 * port counts as not open; 2: open, but the line settings were refused (for example a baud
 * rate the line does not know) — the port stays open.
 */
ZIB_EXPORT int32_t Init_RS232bd(int32_t port, int32_t baud);

/* Closes the port when it is open. Returns 0. */
ZIB_EXPORT int32_t Close_RS232(void);

/*
 * Link test: sends the payload "T" with send_frame. Returns 0 when the register acknowledged
 * it; -2 when the port is not open or the register refused or stayed silent, after showing
 * "Podesite vezu i pokusajte ponovo!" (at once when the port is not open).
 */
ZIB_EXPORT int32_t Testconnessione(void);

/* As Testconnessione, over the modem line (send_frameM). */
ZIB_EXPORT int32_t TestconnessioneM(void);

/*
 * Sends one frame and waits for its acknowledgement; up to 3 tries of 8000 ms each.
 * Every byte other than ACK/NAK is ignored; the input is not flushed before sending.
 * Returns 0: ACK; 1: NAK (not retried); 2: no answer on any try, or a bad argument
 * (payload null, length < 1 or > 252: nothing is sent and 2 is returned at once).
 */
ZIB_EXPORT int32_t send_frame(const char *payload, int32_t length);
/* As send_frame, tries of 60000 ms. */
ZIB_EXPORT int32_t send_frame120s(const char *payload, int32_t length);
/* As send_frame, tries of 20000 ms (modem line). */
ZIB_EXPORT int32_t send_frameM(const char *payload, int32_t length);
/* As send_frame, one try of 20000 ms. */
ZIB_EXPORT int32_t send_frameMD(const char *payload, int32_t length);
/* As send_frame, one try of `timeout_ms` milliseconds. */
ZIB_EXPORT int32_t send_frameT(const char *payload, int32_t length, int32_t timeout_ms);

/*
 * Request–answer exchange: flushes the input, sends the request frame and collects the answer
 * into `buffer` (250 bytes) within 8000 ms for the whole exchange.
 * Collecting: STX restarts the frame at index 0; an ACK anywhere ends the exchange with 0; an
 * ETX ends the frame once at least 5 bytes are stored (earlier it is data); collecting stops
 * at 250 bytes. The checksum characters are compared on their low four bits only.
 * Afterwards buffer[0] = STX, buffer[1..L] = the payload, buffer[L+1] = first checksum char.
 * Returns L + 1 for an answer frame with L payload bytes (after sending one ACK);
 * 0: the register answered ACK; -4: checksum mismatch (nothing sent back);
 * -5: no complete answer within the time-out, or a bad argument (nothing is sent).
 */
ZIB_EXPORT int32_t get_frame(const char *payload, int32_t length, char *buffer);
/* As get_frame, 60000 ms. */
ZIB_EXPORT int32_t get_frame120s(const char *payload, int32_t length, char *buffer);
/* As get_frame, 20000 ms; a good answer is acknowledged with three ACK bytes (modem line). */
ZIB_EXPORT int32_t get_frameM(const char *payload, int32_t length, char *buffer);
/* As get_frame with the caller's time-out in milliseconds. */
ZIB_EXPORT int32_t get_frameT(const char *payload, int32_t length, char *buffer, int32_t timeout_ms);

/* Writes one ACK byte. Returns the number of bytes written (1; 0 when the write failed). */
ZIB_EXPORT int32_t send_ack(void);

/*
 * Writes `length` bytes unframed (0..256). Returns 0 when they were handed to the line;
 * -1 for a bad argument, a port that is not open or a failed write.
 */
ZIB_EXPORT int32_t send_data(const char *bytes, int32_t length);

/*
 * Collects unframed bytes into `buffer` (250 bytes) until 250 are stored or 60000 ms have
 * passed; there is no end character. On the time-out *count = the bytes stored; when 250
 * bytes came first *count is left at 0. Returns the number of bytes stored.
 * `count` may be null.
 */
ZIB_EXPORT int32_t read_data(int32_t *count, char *buffer);

/* As read_data after writing the four bytes "ATMI" unframed; time-out 20000 ms. */
ZIB_EXPORT int32_t read_data_ini(int32_t *count, char *buffer);

#ifdef __cplusplus
}
#endif
