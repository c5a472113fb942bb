#include "window/TListTask.h"

#include <QMetaObject>
#include <mutex>
#include <thread>

struct TListTask::TShared {
    std::mutex Lock;
    TListTask *Owner = nullptr; // none once the owner has gone
    std::atomic<bool> Stop{false};
};

TListTask::TListTask(QObject *parent) : QObject(parent) { }

TListTask::~TListTask()
{
    if (!shared_)
        return;
    const std::lock_guard lock(shared_->Lock);
    shared_->Owner = nullptr;
    shared_->Stop = true;
}

void TListTask::Start(TWork work)
{
    if (shared_) {
        const std::lock_guard lock(shared_->Lock);
        shared_->Owner = nullptr;
        shared_->Stop = true;
    }
    shared_ = std::make_shared<TShared>();
    shared_->Owner = this;
    running_ = true;
    const uint64_t generation = ++generation_;
    std::thread([shared = shared_, work = std::move(work), generation] {
        TFinish finish;
        try {
            finish = work(shared->Stop);
        } catch (...) {
            finish = nullptr; // a task that fails changes nothing
        }
        // Under the lock the owner cannot go between the look and the posting; a posted call
        // of an owner that goes later is dropped with it.
        const std::lock_guard lock(shared->Lock);
        if (TListTask *owner = shared->Owner)
            QMetaObject::invokeMethod(
                owner, [owner, generation, finish] { owner->Deliver(generation, finish); }, Qt::QueuedConnection);
    }).detach();
}

void TListTask::Deliver(uint64_t generation, const TFinish &finish)
{
    if (generation != generation_)
        return;
    running_ = false;
    if (finish)
        finish();
    emit Finished();
}
