#include "core/platform/qt/interruptcleanup.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace {

constexpr int kPlaces = 8;
constexpr qsizetype kPathBytes = 4096;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

/// One held path; the flag is set only once the bytes stand, so the
/// handler never reads a half-copied path.
struct Place
{
    /// Taken by one thread before it copies the path in.
    std::atomic<bool> claimed{false};
    std::atomic<bool> used{false};
    char path[kPathBytes];
};

Place gPlaces[kPlaces];
std::once_flag gInstalled;

static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void unlinkAndDie(int signal)
{
    // Async-signal-safe calls only: unlink, sigaction, raise.
    for (Place &place : gPlaces) {
        if (place.used.load(std::memory_order_acquire))
            ::unlink(place.path);
    }
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    // Blocked until the handler returns, then delivered with the default.
    ::raise(signal);
}

void install()
{
    for (const int signal : kSignals) {
        struct sigaction current = {};
        if (::sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) ||
            current.sa_handler != SIG_DFL)
            continue;
        struct sigaction action = {};
        action.sa_handler = unlinkAndDie;
        sigemptyset(&action.sa_mask);
        for (const int other : kSignals)
            sigaddset(&action.sa_mask, other);
        ::sigaction(signal, &action, nullptr);
    }
}

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(QFileInfo(path).absoluteFilePath());
}

} // namespace

bool InterruptCleanup::add(const QString &path)
{
    const QByteArray native = nativePath(path);
    if (native.size() >= kPathBytes)
        return false;
    std::call_once(gInstalled, install);
    // Saves on the window's thread and recovery writes on their own may
    // add paths at the same time.
    for (Place &place : gPlaces) {
        if (place.claimed.exchange(true, std::memory_order_acquire))
            continue;
        std::memcpy(place.path, native.constData(), size_t(native.size()) + 1);
        place.used.store(true, std::memory_order_release);
        return true;
    }
    return false;
}

void InterruptCleanup::remove(const QString &path)
{
    const QByteArray native = nativePath(path);
    for (Place &place : gPlaces) {
        if (place.used.load(std::memory_order_relaxed) &&
            std::strcmp(place.path, native.constData()) == 0) {
            place.used.store(false, std::memory_order_release);
            place.claimed.store(false, std::memory_order_release);
        }
    }
}

int InterruptCleanup::count()
{
    int n = 0;
    for (const Place &place : gPlaces)
        n += place.used.load(std::memory_order_relaxed) ? 1 : 0;
    return n;
}
