/*
 * bregexp — Perl-style match and substitution on byte strings.
 *
 * Three entry points, all C linkage and the __cdecl convention, exported by
 * bregexp.dll on Windows and libbregexp.so elsewhere:
 *
 *   int  BMatch (const char *command, const char *text, const char *text_end,
 *                BRegexpRecord **record, char *message);
 *   int  BSubst (same arguments);
 *   void BRegfree(BRegexpRecord *record);
 *
 * command   zero-terminated "m/PATTERN/FLAGS" (BMatch) or
 *           "s/PATTERN/REPLACEMENT/FLAGS" (BSubst); "\/" stands for a slash.
 *           A malformed command (unknown operator, missing delimiter, unknown
 *           or repeated flag, anything after the flags) is an error, and so
 *           is an s command given to BMatch or an m command given to BSubst.
 * text      first byte of the subject; text_end one past its last byte.
 *           Zero bytes inside are ordinary bytes.
 * record    in/out. If *record is NULL the command is compiled and the new
 *           record stored there. If it is not NULL the record is used as it
 *           is, without looking at command (the caller is responsible for
 *           freeing it when the command changes). After any call *record is
 *           NULL or a valid record.
 * message   the caller's buffer of BREGEXP_MESSAGE_SIZE bytes. On return it
 *           holds a zero-terminated message of at most 79 bytes; an empty
 *           message means no error. On error the result is 0 and, for BSubst,
 *           no output is produced (output is the empty string).
 *
 * Result: non-zero when the pattern matched (BMatch) or when at least one
 * replacement was made (BSubst).
 *
 * After a successful call, starts[i]/ends[i] (i = 0..group_count) give the
 * byte ranges of group i of the (last) match inside the caller's text; a
 * group that did not take part has both pointers NULL (after an unsuccessful
 * call all of them are NULL). After a successful BSubst, output points at
 * the whole new text, zero-terminated, with output_length bytes before the
 * terminator; it stays valid until the next call with the same record or
 * BRegfree. The text of a call may be the record's previous output.
 *
 * Flags: g (all matches), i (ASCII case-insensitive), m (^ and $ at line
 * breaks), s (dot matches \n), x (white space and # comments in the pattern
 * are ignored), k (Shift_JIS: a lead byte 81-9F/E0-FC followed by a trail
 * byte 40-7E/80-FC is one character, in the command, the pattern, classes,
 * the text and the replacement; any other lead byte is a lone byte).
 *
 * Patterns follow Perl: leftmost match, backtracking priority, a repeated
 * group captures its last iteration (a group of fixed width holding no
 * other group, such as (b) in (?:a(b)?)+, reads as unset after an
 * iteration that repeated it zero times), a back-reference to a group that
 * took no part fails; \d \w \s, POSIX classes inside brackets ([[:alpha:]],
 * [[:^digit:]], ...) and case folding are ASCII only. Perl's blanks inside
 * braces ("a{ 1, 2 }") are allowed, and {n,m} with n > m cannot match. Perl
 * syntax the library does not support (\b{...}, \p{...}, (?<=...),
 * possessive quantifiers, inline modifiers, ...) is an error, never text.
 *
 * Work and memory are bounded (n: text bytes; m: size of the compiled
 * pattern, with what lies inside lookaheads counted once per lookahead):
 *
 * - A pattern without back-references, or whose back-references refer to
 *   groups that can only match one fixed text (the region pattern's \2),
 *   runs in O(n x m) time, with the two exceptions for lookaheads below,
 *   and a search needs at most 4 bytes per text byte plus 64 MB besides the
 *   text and the compiled pattern, whatever the pattern's shape: it never
 *   ends with "pattern too complex" or "pattern needs too much memory".
 *   A lookahead's answer is remembered per text position, so that each
 *   costs O(n x its body) in all; beyond sixteen lookaheads' worth of
 *   answers (two bytes per text byte plus 8 MB) the further ones are worked
 *   out again where asked. The groups inside a positive lookahead are found
 *   once, for the winning match, when every match of the lookahead sets
 *   them all; otherwise (an optional or alternative part holds a group, or
 *   a lookahead inside holds one) at each position a match passes it, where
 *   a lookahead that scans far costs that much every time, as in Perl.
 *   The groups' positions travel with the automaton's threads in 8 MB; a
 *   pattern with more groups than fit (about 8 MB / (16 bytes x its
 *   threads), thousands of groups) finds the match first and the rest of
 *   its groups in further passes over that match, each O(n x m).
 *   These bounds hold for each search: with g every match starts a search
 *   of its own, so a pattern whose every search scans to the end of the
 *   text costs the sum over its matches.
 * - A pattern with other back-references is matched by backtracking, which
 *   can take exponential time: a work budget of about a second per megabyte
 *   of text plus a second, however many loops the pattern has, ends it with
 *   "pattern too complex for this text" (never a partial result). A search
 *   that would keep more backtracking state than 128 MB plus 16 bytes per
 *   text byte stops with "pattern needs too much memory for this text".
 * - Compiling takes at most 20 bytes per pattern byte (16 MB for a shorter
 *   pattern, as a counted repeat of a group is compiled as that many
 *   copies); a pattern that would need more, or an automaton of more than
 *   about 2^20 states, is refused with "pattern too large". The automaton
 *   (16 bytes per state) is built from the compiled pattern only when a
 *   search first needs it, and kept with it. A pattern longer than 1 MB is
 *   refused with "pattern longer than the limit of 1 MB" as the command is
 *   read.
 *
 * Replacement syntax (what the replacement part of s/// interprets):
 *   $&            the whole match
 *   $N            group N (all digits that follow, as in Perl; $0 is $&)
 *   ${N}          group N
 *   \1 .. \9      group 1..9 (one digit)
 *   \n \r \t      line feed, carriage return, tab
 *   \\  \$  \/    a backslash, a dollar sign, a slash
 *   \c            for any other character c: c itself
 *   A "$" not followed by "&", a digit or "{" is itself; "${" without
 *   digits and "}" is an error.
 * To copy a text verbatim into a replacement, put a backslash before every
 * "\", "$" and "/" of it (walking the text by characters under k, so the 5C
 * trail byte of a double-byte character is not a backslash). No other byte
 * has a meaning in a replacement.
 *
 * A group that did not take part in the match, or that the pattern does not
 * have, is replaced by nothing. With g, matches do not overlap and an empty
 * match right after an empty match at the same place is not taken (Perl's
 * rule).
 */
#ifndef BREGEXP_H
#define BREGEXP_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#  if defined(BREGEXP_BUILDING)
#    define BREGEXP_API __declspec(dllexport)
#  else
#    define BREGEXP_API __declspec(dllimport)
#  endif
#  define BREGEXP_CALL __cdecl
#else
#  define BREGEXP_API __attribute__((visibility("default")))
#  define BREGEXP_CALL
#endif

/* Size of the caller's message buffer: 79 message bytes plus the zero. */
#define BREGEXP_MESSAGE_SIZE 80

typedef struct BRegexpRecord {
    const char *command;      /* the command this record was compiled from, zero-terminated */
    int group_count;          /* n: groups 1..n; group 0 is the whole match */
    const char **starts;      /* n+1 start pointers of the last match */
    const char **ends;        /* n+1 end pointers (exclusive) of the last match */
    const char *output;       /* output of the last successful BSubst, zero-terminated */
    size_t output_length;     /* bytes of output before its terminator */
    void *internal;           /* owned by the library */
} BRegexpRecord;

BREGEXP_API int BREGEXP_CALL BMatch(const char *command, const char *text, const char *text_end,
                                    BRegexpRecord **record, char *message);
BREGEXP_API int BREGEXP_CALL BSubst(const char *command, const char *text, const char *text_end,
                                    BRegexpRecord **record, char *message);
BREGEXP_API void BREGEXP_CALL BRegfree(BRegexpRecord *record);

#ifdef __cplusplus
}
#endif

#endif /* BREGEXP_H */
