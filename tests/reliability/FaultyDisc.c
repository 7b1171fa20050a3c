/* Preloaded into a rip to make a disc image behave like a damaged disc: reads of chosen
 * sectors of the image's data file fail, a few times or always, or the image's sheet is
 * deleted when the rip reaches a sector. Everything else passes through to the C library.
 *
 *   KESTRIP_FAULT_FILE      path suffix of the data file (for example "demo.bin")
 *   KESTRIP_FAULT_SECTOR    first sector (of the file) that fails
 *   KESTRIP_FAULT_COUNT     how many sectors from there fail (default 1)
 *   KESTRIP_FAULT_FAILURES  how many reads of each fail before it reads; -1: every read
 *   KESTRIP_FAULT_REMOVE    instead of failing: the file deleted when a read reaches the sector
 *   KESTRIP_FAULT_LOG       file that gets one line per failed read
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <pthread.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { kSectorBytes = 2352, kMaxFiles = 32, kMaxSectors = 4096 };

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static FILE* watched[kMaxFiles];
static int failures[kMaxSectors];

static FILE* (*real_fopen)(const char*, const char*);
static size_t (*real_fread)(void*, size_t, size_t, FILE*);
static int (*real_fclose)(FILE*);

static long env_long(const char* name, long fallback)
{
    const char* text = getenv(name);
    return text && *text ? strtol(text, NULL, 10) : fallback;
}

static void resolve(void)
{
    if (!real_fopen) {
        real_fopen = (FILE * (*)(const char*, const char*)) dlsym(RTLD_NEXT, "fopen");
        real_fread = (size_t(*)(void*, size_t, size_t, FILE*))dlsym(RTLD_NEXT, "fread");
        real_fclose = (int (*)(FILE*))dlsym(RTLD_NEXT, "fclose");
    }
}

static int is_target(const char* path)
{
    const char* suffix = getenv("KESTRIP_FAULT_FILE");
    if (!suffix || !*suffix || !path)
        return 0;
    size_t n = strlen(path), m = strlen(suffix);
    return n >= m && strcmp(path + n - m, suffix) == 0;
}

static int is_watched(FILE* file)
{
    for (int i = 0; i < kMaxFiles; ++i)
        if (watched[i] == file)
            return 1;
    return 0;
}

static void note(long sector, const char* what)
{
    const char* log = getenv("KESTRIP_FAULT_LOG");
    FILE* out = log && *log ? real_fopen(log, "a") : NULL;
    if (out) {
        fprintf(out, "%s %ld\n", what, sector);
        real_fclose(out);
    }
}

FILE* fopen(const char* path, const char* mode)
{
    resolve();
    FILE* file = real_fopen(path, mode);
    if (file && is_target(path)) {
        pthread_mutex_lock(&lock);
        for (int i = 0; i < kMaxFiles; ++i)
            if (!watched[i]) {
                watched[i] = file;
                break;
            }
        pthread_mutex_unlock(&lock);
    }
    return file;
}

FILE* fopen64(const char* path, const char* mode) { return fopen(path, mode); }

int fclose(FILE* file)
{
    resolve();
    pthread_mutex_lock(&lock);
    for (int i = 0; i < kMaxFiles; ++i)
        if (watched[i] == file)
            watched[i] = NULL;
    pthread_mutex_unlock(&lock);
    return real_fclose(file);
}

size_t fread(void* out, size_t size, size_t count, FILE* file)
{
    resolve();
    pthread_mutex_lock(&lock);
    const int watch = size > 0 && is_watched(file);
    pthread_mutex_unlock(&lock);
    if (!watch)
        return real_fread(out, size, count, file);

    const long first = env_long("KESTRIP_FAULT_SECTOR", -1);
    const long last = first + env_long("KESTRIP_FAULT_COUNT", 1) - 1;
    const long fails = env_long("KESTRIP_FAULT_FAILURES", -1);
    const char* removal = getenv("KESTRIP_FAULT_REMOVE");
    const off_t at = ftello(file);
    const off_t end = at + (off_t)(size * count);
    const long from = (long)(at / kSectorBytes), to = (long)((end - 1) / kSectorBytes);
    for (long s = from > first ? from : first; first >= 0 && s <= to && s <= last; ++s) {
        if (removal && *removal) {
            if (unlink(removal) == 0)
                note(s, "removed at");
            break;
        }
        pthread_mutex_lock(&lock);
        const int fail = s < kMaxSectors && (fails < 0 || failures[s] < fails);
        if (fail && s < kMaxSectors)
            ++failures[s];
        pthread_mutex_unlock(&lock);
        if (!fail)
            continue;
        /* The bytes before the bad sector arrive; the read stops there with an I/O error. */
        const off_t good = (off_t)s * kSectorBytes - at;
        const size_t got = good > 0 ? real_fread(out, 1, (size_t)good, file) : 0;
        note(s, "failed");
        errno = EIO;
        return got / size;
    }
    return real_fread(out, size, count, file);
}
