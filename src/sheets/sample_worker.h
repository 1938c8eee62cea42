#pragma once

#include "fonts/drawable_sample.h"
#include "platform/face_raster.h"

#include <QImage>
#include <QSet>
#include <QString>
#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace lw {

// The code points each face maps, read from its file once; the sheet's
// thread and its drawing thread ask it both.
class TFaceCodes {
public:
    std::optional<TCodeRanges> Of(const std::string& file, int index);
    void Clear();

private:
    std::mutex Lock;
    std::unordered_map<std::string, std::optional<TCodeRanges>> Known;
};

// One sheet item's sample to draw from its face's file.
struct TSampleJob {
    QString Key; // the tile it is for
    std::string File;
    int Index = 0;
    QString Asked;
    // False when the file is known not to draw: only the sample is chosen.
    bool DrawLine = true;
    int PixelSize = 0;
    int MaxWidth = 0; // in device pixels
    qreal Ratio = 1;
    QRgb Ink = 0;
    int Priority = 0; // the lower, the sooner
};

// What an item shows below its name.
struct TPreparedSample {
    TDrawableSample Sample;
    // The line drawn from the file; null when it was not drawn (nothing to
    // draw, or the file could not draw it: then Qt draws the text).
    QImage Line;
    bool LineTried = false;
};

// The text in one face from its file, in ink, at the device's pixel ratio;
// null when the face cannot be drawn that way.
QImage InkedLine(IFaceRasterizer& raster, const std::string& file, int index, const QString& text,
                 int pixelSize, int maxWidth, qreal ratio, const QColor& ink);
TPreparedSample PrepareSample(IFaceRasterizer& raster, TFaceCodes& codes, const TSampleJob& job);

// Draws sheet samples on a thread of its own, so that a frame of the sheet
// only puts finished lines in place: opening a face and shaping its text
// costs milliseconds, and a page of new faces would hold the screen still.
// The results wait here until the sheet's thread takes them.
class TSampleWorker {
public:
    // someDone runs on the worker's thread when results wait where none did.
    TSampleWorker(std::unique_ptr<IFaceRasterizer> raster, std::shared_ptr<TFaceCodes> codes,
                  std::function<void()> someDone);
    ~TSampleWorker();
    TSampleWorker(const TSampleWorker&) = delete;
    TSampleWorker& operator=(const TSampleWorker&) = delete;

    // These jobs in place of all that still wait; one being drawn, or drawn
    // and not yet taken, is not drawn again.
    void Want(std::vector<TSampleJob> jobs);
    // One job more, unless it waits or is drawn already.
    void Add(TSampleJob job);
    std::vector<std::pair<QString, TPreparedSample>> TakeDone();
    // What waits and what was drawn is dropped (the samples' size, colours
    // or text changed); forgetFaces lets the loaded faces go as well.
    void Drop(bool forgetFaces);

private:
    void Run();
    bool Known(const QString& key) const;

    std::unique_ptr<IFaceRasterizer> Raster;
    std::shared_ptr<TFaceCodes> Codes;
    std::function<void()> SomeDone;
    mutable std::mutex Lock;
    std::condition_variable Wake;
    std::deque<TSampleJob> Queue;
    std::vector<std::pair<QString, TPreparedSample>> Done;
    // Keys being drawn or drawn and not yet taken.
    QSet<QString> Held;
    // Counts drops: a result drawn for an earlier count is thrown away.
    unsigned Generation = 0;
    bool ReleaseFaces = false;
    bool Stopping = false;
    std::thread Thread;
};

} // namespace lw
