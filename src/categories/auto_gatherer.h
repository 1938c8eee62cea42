#pragma once

#include "categories/category_store.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>

namespace lw {

// Gathers the automatic categories on a worker thread, so the windows stay
// usable while thousands of font files are read for the first time; the
// store gets them when they are ready. Asked for only when first needed,
// never at start.
class TAutoCategoryGatherer : public QObject {
    Q_OBJECT
public:
    explicit TAutoCategoryGatherer(TCategoryStore& store, QObject* parent = nullptr);
    ~TAutoCategoryGatherer() override;

    // Starts a gathering unless one runs or the store has the categories.
    void Start();
    // The installed fonts changed: what the store has is dropped and
    // gathered again.
    void Restart();
    bool Running() const { return Worker != nullptr; }
    size_t FacesDone() const { return Done; }
    size_t FacesTotal() const { return Total; }

signals:
    void Progress();
    void Ready();

private:
    void Finished();
    void Stop();

    TCategoryStore& Store;
    QThread* Worker = nullptr;
    std::shared_ptr<const TAutoCategories> Result;
    std::atomic<bool> Stopping{false};
    size_t Done = 0;
    size_t Total = 0;
};

} // namespace lw
