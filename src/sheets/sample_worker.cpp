#include "sheets/sample_worker.h"

#include "controls/coverage_image.h"
#include "fonts/face_facts.h"
#include "platform/system_ports.h"

#include <QColor>
#include <QtMath>

#include <algorithm>

namespace lw {

std::optional<TCodeRanges> TFaceCodes::Of(const std::string& file, int index) {
    const std::string key = std::to_string(index) + "|" + file;
    {
        const std::lock_guard<std::mutex> guard(Lock);
        if (const auto found = Known.find(key); found != Known.end()) {
            return found->second;
        }
    }
    // Read without the lock: the other thread may read another face meanwhile.
    std::optional<TCodeRanges> codes = FaceCodePoints(file, static_cast<uint32_t>(index & 0xFFFF));
    const std::lock_guard<std::mutex> guard(Lock);
    Known.emplace(key, codes);
    return codes;
}

void TFaceCodes::Clear() {
    const std::lock_guard<std::mutex> guard(Lock);
    Known.clear();
}

QImage InkedLine(IFaceRasterizer& raster, const std::string& file, int index, const QString& text,
                 int pixelSize, int maxWidth, qreal ratio, const QColor& ink) {
    const std::optional<TCoverage> line =
        raster.DrawLine(file, index, pixelSize, text.toStdU32String(), maxWidth);
    if (!line) {
        return QImage();
    }
    QImage image = CoverageImage(*line, ink);
    image.setDevicePixelRatio(ratio);
    return image;
}

TPreparedSample PrepareSample(IFaceRasterizer& raster, TFaceCodes& codes, const TSampleJob& job) {
    TPreparedSample prepared;
    prepared.Sample = ChooseSample(job.Asked.toStdU32String(),
                                   job.File.empty() ? std::nullopt : codes.Of(job.File, job.Index));
    if (job.File.empty() || !job.DrawLine || prepared.Sample.Kind == TDrawableSample::Nothing) {
        return prepared;
    }
    const QString text = QString::fromStdU32String(prepared.Sample.Text);
    prepared.LineTried = true;
    prepared.Line = InkedLine(raster, job.File, job.Index, text, job.PixelSize, job.MaxWidth,
                              job.Ratio, QColor::fromRgb(job.Ink));
    return prepared;
}

TSampleWorker::TSampleWorker(std::unique_ptr<IFaceRasterizer> raster,
                             std::shared_ptr<TFaceCodes> codes, std::function<void()> someDone)
    : Raster(std::move(raster)), Codes(std::move(codes)), SomeDone(std::move(someDone)) {
    Thread = std::thread([this] { Run(); });
}

TSampleWorker::~TSampleWorker() {
    {
        const std::lock_guard<std::mutex> guard(Lock);
        Stopping = true;
    }
    Wake.notify_all();
    Thread.join();
}

bool TSampleWorker::Known(const QString& key) const {
    return Held.contains(key) ||
           std::any_of(Queue.begin(), Queue.end(),
                       [&](const TSampleJob& waiting) { return waiting.Key == key; });
}

void TSampleWorker::Want(std::vector<TSampleJob> jobs) {
    {
        const std::lock_guard<std::mutex> guard(Lock);
        Queue.clear();
        for (TSampleJob& job : jobs) {
            if (!Known(job.Key)) {
                Queue.push_back(std::move(job));
            }
        }
    }
    Wake.notify_all();
}

void TSampleWorker::Add(TSampleJob job) {
    {
        const std::lock_guard<std::mutex> guard(Lock);
        if (Known(job.Key)) {
            return;
        }
        Queue.push_back(std::move(job));
    }
    Wake.notify_all();
}

std::vector<std::pair<QString, TPreparedSample>> TSampleWorker::TakeDone() {
    const std::lock_guard<std::mutex> guard(Lock);
    std::vector<std::pair<QString, TPreparedSample>> done = std::move(Done);
    Done.clear();
    for (const auto& [key, prepared] : done) {
        Held.remove(key);
    }
    return done;
}

void TSampleWorker::Drop(bool forgetFaces) {
    {
        const std::lock_guard<std::mutex> guard(Lock);
        Queue.clear();
        Done.clear();
        Held.clear();
        ++Generation;
        ReleaseFaces = ReleaseFaces || forgetFaces;
    }
    Wake.notify_all();
}

void TSampleWorker::Run() {
    // Lines drawn ahead can wait; a frame of the sheet cannot.
    LowerThisThreadsPriority();
    std::unique_lock<std::mutex> lock(Lock);
    bool drawnSinceTrim = false;
    for (;;) {
        if (Queue.empty() && drawnSinceTrim) {
            // A batch is finished: what the drawing freed goes back now,
            // not when the sheet is closed.
            drawnSinceTrim = false;
            lock.unlock();
            ReturnFreedMemory();
            lock.lock();
            continue;
        }
        Wake.wait(lock, [this] { return Stopping || ReleaseFaces || !Queue.empty(); });
        if (Stopping) {
            return;
        }
        if (ReleaseFaces) {
            ReleaseFaces = false;
            lock.unlock();
            Raster->ReleaseFaces();
            lock.lock();
            continue;
        }
        const auto next = std::min_element(
            Queue.begin(), Queue.end(),
            [](const TSampleJob& a, const TSampleJob& b) { return a.Priority < b.Priority; });
        const TSampleJob job = std::move(*next);
        Queue.erase(next);
        Held.insert(job.Key);
        const unsigned generation = Generation;
        lock.unlock();
        TPreparedSample prepared = PrepareSample(*Raster, *Codes, job);
        lock.lock();
        drawnSinceTrim = true;
        if (generation != Generation) {
            continue; // dropped while it was drawn
        }
        const bool first = Done.empty();
        Done.emplace_back(job.Key, std::move(prepared));
        if (first && SomeDone) {
            lock.unlock();
            SomeDone();
            lock.lock();
        }
    }
}

} // namespace lw
