#pragma once

#include "platform/face_raster.h"

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace lw {

// Faces loaded with FreeType straight from their files, the most recently
// drawn kept up to a number, so memory stays bounded however many faces a
// sheet scrolls past.
class TFreeTypeRasterizer : public IFaceRasterizer {
public:
    explicit TFreeTypeRasterizer(size_t maxFaces = 96);
    ~TFreeTypeRasterizer() override;
    TFreeTypeRasterizer(const TFreeTypeRasterizer&) = delete;
    TFreeTypeRasterizer& operator=(const TFreeTypeRasterizer&) = delete;

    std::optional<TCoverage> DrawLine(const std::string& file, int index, int pixelSize,
                                      const std::u32string& text, int maxWidth) override;
    std::optional<TCoverage> DrawLineAt(const std::string& file, int index,
                                        const std::vector<double>& coordinates, int pixelSize,
                                        const std::u32string& text, int maxWidth) override;
    void ReleaseFaces() override;
    std::unique_ptr<IFaceRasterizer> ForAnotherThread(size_t maxFaces) const override;
    size_t LoadedFaces() const override { return Faces.size(); }

private:
    struct TFace;
    TFace* FaceFor(const std::string& file, int index);

    void* Library = nullptr; // FT_Library
    size_t MaxFaces;
    // Most recently used first.
    std::list<std::unique_ptr<TFace>> Order;
    std::unordered_map<std::string, std::list<std::unique_ptr<TFace>>::iterator> Faces;
};

} // namespace lw
