/* The platform log service: every line goes to one process-wide destination. */
#ifndef DLOG_H
#define DLOG_H

#ifdef __cplusplus
extern "C" {
#endif

typedef enum {
    LOG_ID_MAIN = 0,
    LOG_ID_RADIO,
    LOG_ID_SYSTEM,
    LOG_ID_APPS,
    LOG_ID_MAX
} log_id_t;

typedef enum {
    DLOG_UNKNOWN = 0,
    DLOG_DEFAULT,
    DLOG_VERBOSE,
    DLOG_DEBUG,
    DLOG_INFO,
    DLOG_WARN,
    DLOG_ERROR,
    DLOG_FATAL,
    DLOG_SILENT
} log_priority;

/* Writes one line as "P/TAG(PID): MESSAGE". Returns the number of bytes of
 * MESSAGE, 0 when no destination is listening, or a negative value on bad
 * arguments. A null tag is written as an empty tag. */
int __dlog_print(log_id_t log_id, int prio, const char *tag, const char *fmt, ...)
    __attribute__((format(printf, 4, 5)));

/* Nonzero while a destination or a capture takes lines. Set by the service
 * only; read with an acquire load. */
extern int __dlog_listening;

#if defined(__GNUC__) && !defined(__clang__) && defined(__OPTIMIZE__) && !defined(DLOG_NO_INLINE_CHECK)
/* With GCC an unheard line with valid arguments returns 0 where it is
 * written, without a call: most lines of a shipped program go unheard. The
 * arguments are still evaluated, as for a call. Everything else, and a call
 * through a pointer, goes to the library's function. */
extern int __dlog_print_call(log_id_t log_id, int prio, const char *tag, const char *fmt, ...)
    __asm__("__dlog_print");

extern __inline __attribute__((__always_inline__, __gnu_inline__, __artificial__, format(printf, 4, 5))) int
__dlog_print(log_id_t log_id, int prio, const char *tag, const char *fmt, ...)
{
    if (fmt != 0 && prio >= DLOG_VERBOSE && prio <= DLOG_FATAL && (int)log_id >= 0 && log_id < LOG_ID_MAX &&
        !__atomic_load_n(&__dlog_listening, __ATOMIC_ACQUIRE))
        return 0;
    return __dlog_print_call(log_id, prio, tag, fmt, __builtin_va_arg_pack());
}
#endif

#ifdef __cplusplus
}
#endif

#endif
