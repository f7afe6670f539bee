// The Linux probe. Plain builds define the allocator's entry points in the executable, where the
// dynamic linker finds them before glibc's for every module loaded later, and forward to glibc's
// own (__libc_malloc and its kin, which allocate from the same heap, so memory may cross between
// them freely). Sanitizer builds leave the allocator to the sanitizer and count through its
// allocation hooks. Lock calls are wrapped the same way and forwarded to the next definition
// (glibc's); ThreadSanitizer has its own wrappers there, so they are left to it.
#include "tools/vsthost/host/RealtimeProbe.h"

#include <dlfcn.h>
#include <errno.h>
#include <pthread.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VSTHOST_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VSTHOST_SANITIZER_ALLOCATOR 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define VSTHOST_SANITIZER_LOCKS 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VSTHOST_SANITIZER_LOCKS 1
#endif
#endif

#ifdef VSTHOST_SANITIZER_ALLOCATOR
// The sanitizer runtimes' hook interface (declared here: GCC installs no header for it).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, size_t),
                                                         void (*freeHook)(const volatile void*));
#endif

namespace {

struct ThreadState {
    bool marked;
    int paused;
    RealtimeCounts counts;
};

// Initial-exec: reading it never calls into the dynamic linker, which may itself allocate.
thread_local ThreadState state __attribute__((tls_model("initial-exec"))) = {};

inline bool Counting() {
    return state.marked && state.paused == 0;
}

inline void NoteAllocation() {
    if (Counting()) ++state.counts.allocations;
}

inline void NoteFree(const volatile void* block) {
    if (block && Counting()) ++state.counts.frees;
}

#ifdef VSTHOST_SANITIZER_ALLOCATOR
void MallocHook(const volatile void*, size_t) {
    NoteAllocation();
}
void FreeHook(const volatile void* block) {
    NoteFree(block);
}
// Installed before main, so that the count is right from the first marked thread on.
const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks(MallocHook, FreeHook);
#endif

#ifndef VSTHOST_SANITIZER_LOCKS
template <typename Fn>
Fn NextDefinition(std::atomic<Fn>& cache, const char* name) {
    Fn fn = cache.load(std::memory_order_acquire);
    if (!fn) {
        fn = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
        cache.store(fn, std::memory_order_release);
    }
    return fn;
}

// Takes a lock through the next definition; on a counted thread, first tries it, so that a lock
// another thread holds counts as a wait.
template <typename Lock>
int CountedLock(Lock* lock, int (*take)(Lock*), int (*tryTake)(Lock*)) {
    if (!Counting()) return take(lock);
    ++state.counts.locks;
    const int tried = tryTake(lock);
    if (tried != EBUSY) return tried;
    ++state.counts.lockWaits;
    return take(lock);
}

std::atomic<int (*)(pthread_mutex_t*)> nextMutexLock{nullptr};
std::atomic<int (*)(pthread_rwlock_t*)> nextReadLock{nullptr};
std::atomic<int (*)(pthread_rwlock_t*)> nextWriteLock{nullptr};
#endif

}  // namespace

#ifndef VSTHOST_SANITIZER_ALLOCATOR
extern "C" {
void* __libc_malloc(size_t bytes) noexcept;
void* __libc_calloc(size_t count, size_t bytes) noexcept;
void* __libc_realloc(void* block, size_t bytes) noexcept;
void* __libc_memalign(size_t alignment, size_t bytes) noexcept;
void* __libc_valloc(size_t bytes) noexcept;
void* __libc_pvalloc(size_t bytes) noexcept;
void __libc_free(void* block) noexcept;

void* malloc(size_t bytes) noexcept {
    NoteAllocation();
    return __libc_malloc(bytes);
}

void* calloc(size_t count, size_t bytes) noexcept {
    NoteAllocation();
    return __libc_calloc(count, bytes);
}

void* realloc(void* block, size_t bytes) noexcept {
    NoteAllocation();
    return __libc_realloc(block, bytes);
}

void free(void* block) noexcept {
    NoteFree(block);
    __libc_free(block);
}

int posix_memalign(void** out, size_t alignment, size_t bytes) noexcept {
    if (alignment == 0 || (alignment & (alignment - 1)) != 0 || alignment % sizeof(void*) != 0) return EINVAL;
    NoteAllocation();
    void* block = __libc_memalign(alignment, bytes);
    if (!block) return ENOMEM;
    *out = block;
    return 0;
}

void* aligned_alloc(size_t alignment, size_t bytes) noexcept {
    NoteAllocation();
    return __libc_memalign(alignment, bytes);
}

void* memalign(size_t alignment, size_t bytes) noexcept {
    NoteAllocation();
    return __libc_memalign(alignment, bytes);
}

void* valloc(size_t bytes) noexcept {
    NoteAllocation();
    return __libc_valloc(bytes);
}

void* pvalloc(size_t bytes) noexcept {
    NoteAllocation();
    return __libc_pvalloc(bytes);
}
}
#endif

#ifndef VSTHOST_SANITIZER_LOCKS
extern "C" {
int pthread_mutex_lock(pthread_mutex_t* mutex) noexcept {
    return CountedLock(mutex, NextDefinition(nextMutexLock, "pthread_mutex_lock"), pthread_mutex_trylock);
}

int pthread_rwlock_rdlock(pthread_rwlock_t* lock) noexcept {
    return CountedLock(lock, NextDefinition(nextReadLock, "pthread_rwlock_rdlock"), pthread_rwlock_tryrdlock);
}

int pthread_rwlock_wrlock(pthread_rwlock_t* lock) noexcept {
    return CountedLock(lock, NextDefinition(nextWriteLock, "pthread_rwlock_wrlock"),
                       pthread_rwlock_trywrlock);
}
}
#endif

bool RealtimeProbe::CountsAllocations() {
#ifdef VSTHOST_SANITIZER_ALLOCATOR
    return hooksInstalled != 0;
#else
    return true;
#endif
}

bool RealtimeProbe::CountsLocks() {
#ifdef VSTHOST_SANITIZER_LOCKS
    return false;
#else
    return true;
#endif
}

const char* RealtimeProbe::Method() {
#if defined(VSTHOST_SANITIZER_LOCKS)
    return "the sanitizer's allocation hooks; locks not counted under ThreadSanitizer";
#elif defined(VSTHOST_SANITIZER_ALLOCATOR)
    return "the sanitizer's allocation hooks and interposed pthread lock calls";
#else
    return "the allocator and the pthread lock calls interposed in vsthost";
#endif
}

void RealtimeProbe::MarkThisThread(bool audio) {
    state.counts = RealtimeCounts{};
    state.marked = audio;
}

RealtimeCounts RealtimeProbe::ThisThread() {
    return state.counts;
}

RealtimeProbe::Pause::Pause() {
    ++state.paused;
}

RealtimeProbe::Pause::~Pause() {
    --state.paused;
}
