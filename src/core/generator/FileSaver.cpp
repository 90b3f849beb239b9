// SPDX-License-Identifier: MIT
#include "generator/FileSaver.h"

#include <utility>
#include <vector>

#include "generator/BuildError.h"
#include "generator/SaveIfChanged.h"
#include "io/FileSystem.h"
#include "text/TextConversions.h"

namespace pagloom {
namespace {

// Pages waiting for the worker: enough to keep it busy, few enough to keep memory small. When
// the queue is full, the build waits until it is half empty: waking for every single free
// place would cost a switch between the threads per file.
constexpr size_t kMaxQueued = 64;
constexpr size_t kResume = kMaxQueued / 2;
// A thread that has caught up sleeps; it is woken when this many files wait for it (or when
// someone waits for it), not for each one: waking costs more than saving an unchanged page.
constexpr size_t kBatch = 8;

std::string_view FolderOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

std::string_view NameOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Names compared without case: on a folder that ignores case, "Seite.htm" and "seite.htm" are
// one file, and waiting once too often costs little.
std::string WaitKey(std::string_view path) { return ToLowerCp1252(NameOf(path)); }

}  // namespace

FileSaver::FileSaver(FileSystem& fs, MakeReport& report) : fs_(fs), report_(report) {
    threaded_ = fs_.ConcurrentUse() && std::thread::hardware_concurrency() > 1;
}

FileSaver::~FileSaver() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    prepare_.notify_all();
    work_.notify_all();
    if (preparer_.joinable()) preparer_.join();
    if (worker_.joinable()) worker_.join();
}

bool FileSaver::KnownMissing(const std::string& path) {
    const std::string_view name = NameOf(path), folder = FolderOf(path);
    if (name.empty()) return false;
    // Most files of a build go to one folder: it is looked up again only when it changes.
    if (!lastNames_ || folder != lastFolder_) {
        auto [it, fresh] = folders_.try_emplace(std::string(folder));
        if (fresh) {
            std::vector<std::string> names;
            if (fs_.ListNames(it->first, names))
                it->second.emplace(std::make_move_iterator(names.begin()),
                                   std::make_move_iterator(names.end()));
        }
        lastFolder_ = it->first;
        lastNames_ = &it->second;
    }
    if (!*lastNames_) return false;
    // From now on the file is there (or its saving failed, and a read attempt tells that).
    Names& names = **lastNames_;
    if (names.find(name) != names.end()) return false;
    names.emplace(name);
    return true;
}

void FileSaver::Save(std::string path, const TextLines& lines) {
    SaveText(std::move(path), JoinLines(lines));
}

void FileSaver::SaveText(std::string path, std::string text) {
    const bool knownMissing = KnownMissing(path);
    if (!threaded_) {
        report_.Add(path + "...");
        report_.AddOutcome(pagloom::SaveText(fs_, path, text, knownMissing));
        return;
    }
    Drain(false);
    ThrowFailure();
    std::string key = WaitKey(path);
    bool wake = false, halted = false;
    {
        std::unique_lock lock(mutex_);
        if (jobs_.size() - done_ >= kMaxQueued)
            finished_.wait(lock, [&] { return jobs_.size() - done_ <= kResume || halted_; });
        if (!halted_) {
            jobs_.push_back(Job{std::move(path), std::move(text), knownMissing, {}, {}, {}, {}});
            if (!worker_.joinable()) {
                worker_ = std::thread(&FileSaver::Work, this);
                preparer_ = std::thread(&FileSaver::Prepare, this);
            }
            wake = jobs_.size() - prepared_ >= kBatch;
        }
        halted = halted_;
    }
    if (wake) prepare_.notify_one();
    if (halted) {  // not queued: the failure that stopped the threads comes now
        Drain(true);
        ThrowFailure();
        if (halt_) std::rethrow_exception(halt_);
    }
    ++onTheWay_[std::move(key)];
}

void FileSaver::Settle(const std::string& path) {
    if (threaded_ && onTheWay_.count(WaitKey(path))) Flush();
}

void FileSaver::Flush() {
    Wait();
    ThrowFailure();
}

void FileSaver::Wait() {
    if (threaded_) Drain(true);
}

std::optional<std::string> FileSaver::Abandon() {
    try {
        Flush();
    } catch (const BuildAbort& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

void FileSaver::ThrowFailure() {
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void FileSaver::Prepare() {
    for (;;) {
        Job* job = nullptr;
        {
            std::unique_lock lock(mutex_);
            prepare_.wait(lock, [&] { return stop_ || halted_ || prepared_ < jobs_.size(); });
            if (stop_ || halted_) return;
            job = &jobs_[prepared_];  // stays valid: the log thread only removes finished jobs
        }
        // Only new files are made ahead: nothing shows until the worker names them in turn.
        if (job->knownMissing && !job->text.empty()) {
            try {
                job->made = fs_.PrepareNew(job->path, job->text);
            } catch (...) {
                // the worker saves it the usual way
            }
        }
        bool wake = false;
        {
            std::lock_guard lock(mutex_);
            ++prepared_;
            // The worker also when this thread is about to sleep.
            wake = prepared_ - done_ >= kBatch || prepared_ == jobs_.size();
        }
        if (wake) work_.notify_one();
    }
}

SaveResult FileSaver::SaveJob(Job& job) {
    if (job.made.Ready()) {
        switch (fs_.Publish(job.made, job.path)) {
            case FileSystem::CreateResult::Created:
                return SaveResult::Written;
            case FileSystem::CreateResult::Exists:
                return pagloom::SaveText(fs_, job.path, job.text,
                                         false);  // made meanwhile: compare
            case FileSystem::CreateResult::Failed:
                break;
        }
    }
    return pagloom::SaveText(fs_, job.path, job.text, job.knownMissing);
}

void FileSaver::Work() {
    for (;;) {
        Job* job = nullptr;
        {
            std::unique_lock lock(mutex_);
            work_.wait(lock, [&] { return stop_ || done_ < prepared_; });
            if (stop_) return;
            job = &jobs_[done_];
        }
        try {
            job->result = SaveJob(*job);
        } catch (const BuildAbort& e) {
            job->abort = e.what();
        } catch (...) {
            job->error = std::current_exception();
        }
        job->text = std::string();
        bool halt = false, tell = false;
        {
            std::lock_guard lock(mutex_);
            ++done_;
            halt = halted_ = job->abort || job->error;
            const size_t left = jobs_.size() - done_;
            tell = halt || left == 0 || left == kResume;
        }
        if (tell) finished_.notify_all();
        if (halt) return;  // files after a failed one are not written, as in a plain run
    }
}

void FileSaver::Drain(bool wait) {
    std::deque<Job> finished;
    {
        std::unique_lock lock(mutex_);
        if (wait && done_ < jobs_.size() && !halted_) {
            lock.unlock();
            prepare_.notify_one();  // the last files may be fewer than a batch
            lock.lock();
            finished_.wait(lock, [&] { return done_ == jobs_.size() || halted_; });
        }
        prepared_ -= done_;
        for (; done_ > 0; --done_) {
            finished.push_back(std::move(jobs_.front()));
            jobs_.pop_front();
        }
    }
    for (Job& job : finished) Log(job);
}

void FileSaver::Log(Job& job) {
    report_.Add(job.path + "...");
    if (job.abort || job.error) {
        // The threads have stopped; the files after this one stay unwritten, and the unnamed
        // files made for them vanish with their jobs.
        onTheWay_.clear();
        failure_ = halt_ = job.error ? job.error : std::make_exception_ptr(BuildAbort(*job.abort));
        return;
    }
    report_.AddOutcome(job.result);
    auto it = onTheWay_.find(WaitKey(job.path));
    if (it != onTheWay_.end() && --it->second == 0) onTheWay_.erase(it);
}

}  // namespace pagloom
