#include "categories/auto_gatherer.h"

#include "fonts/facts_cache.h"

namespace lw {

TAutoCategoryGatherer::TAutoCategoryGatherer(TCategoryStore& store, QObject* parent)
    : QObject(parent), Store(store) {}

TAutoCategoryGatherer::~TAutoCategoryGatherer() {
    Stop();
}

void TAutoCategoryGatherer::Stop() {
    if (Worker == nullptr) {
        return;
    }
    Stopping = true;
    Worker->wait();
    delete Worker;
    Worker = nullptr;
    Stopping = false;
}

void TAutoCategoryGatherer::Start() {
    if (Worker != nullptr || Store.Automatic) {
        return;
    }
    // The catalogue belongs to this thread: the faces are listed here, the
    // files read there.
    std::vector<TFaceRef> faces = InstalledFaceRefs();
    Done = 0;
    Total = faces.size();
    Worker = QThread::create([this, faces = std::move(faces)] {
        TFactsCache cache(TFactsCache::DefaultFile());
        cache.Load();
        TAutoCategories groups = BuildAutoCategories(faces, cache, [this](size_t done) {
            QMetaObject::invokeMethod(
                this,
                [this, done] {
                    Done = done;
                    emit Progress();
                },
                Qt::QueuedConnection);
            return !Stopping.load();
        });
        if (!Stopping) {
            cache.Save(true);
            Result = std::make_shared<const TAutoCategories>(std::move(groups));
        }
    });
    connect(Worker, &QThread::finished, this, &TAutoCategoryGatherer::Finished);
    Worker->start(QThread::LowPriority);
}

void TAutoCategoryGatherer::Finished() {
    if (Worker == nullptr) {
        return;
    }
    Worker->wait();
    Worker->deleteLater();
    Worker = nullptr;
    if (Result) {
        Store.Automatic = std::move(Result);
        Result.reset();
        // The organize window lists them too.
        if (Store.ListsChanged) {
            Store.ListsChanged();
        }
        emit Ready();
    }
}

void TAutoCategoryGatherer::Restart() {
    Stop();
    Result.reset();
    Store.Automatic.reset();
    Start();
}

} // namespace lw
