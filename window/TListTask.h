#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

// Work on the list beside the window: it runs on a thread of its own and hands back what is to
// be done with its result, which runs on the window's thread. A newer task takes the place of
// the one before, whose result is dropped. Nobody waits on the work: a thread held by a disk
// that does not answer is left to it, told to stop, and its result goes nowhere.
class TListTask : public QObject {
    Q_OBJECT

public:
    // What the work hands back: run on the window's thread, unless a newer task has started.
    using TFinish = std::function<void()>;
    using TWork = std::function<TFinish(const std::atomic<bool> &stop)>;

    explicit TListTask(QObject *parent = nullptr);
    ~TListTask() override;

    void Start(TWork work);
    // Whether the latest task's result is still to come.
    bool Running() const { return running_; }

signals:
    // After a result has been handed back and run, or dropped for a newer task.
    void Finished();

private:
    struct TShared;
    void Deliver(uint64_t generation, const TFinish &finish);

    std::shared_ptr<TShared> shared_;
    uint64_t generation_ = 0;
    bool running_ = false;
};
