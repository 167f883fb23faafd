#include "BalanceArt.h"

#include <algorithm>
#include <cmath>

namespace pw::tool {

namespace {

// Draws with a private layer so that each part gets its own dark edge, then lays it over the canvas.
class Part {
public:
    explicit Part(const Canvas& like) : layer_(like.Width(), like.Height()) {}
    Canvas& Layer() { return layer_; }
    void Finish(Canvas& onto, Rgb edge) {
        layer_.EdgeShapes(edge);
        onto.Blit(layer_, 0, 0);
    }

private:
    Canvas layer_;
};

void DrawPan(Canvas& canvas, int centreX, int surfaceY, const BalanceShape& shape, const BalanceColours& c) {
    const std::vector<int> profile = PanProfile(shape.panHalfWidth, shape.panDepth);
    Part pan(canvas);
    for (size_t row = 0; row < profile.size(); ++row) {
        const int half = profile[row];
        for (int dx = -half; dx <= half; ++dx) {
            // Polished metal: a bright band on the left, shade on the right, a bright lip.
            const double across = static_cast<double>(dx) / half;
            Rgb colour = c.brassMid;
            if (row == 1 || across < -0.55) colour = c.brassLight;
            if (row > 1 && across > 0.55) colour = c.brassDark;
            pan.Layer().Set(centreX + dx, surfaceY + static_cast<int>(row), colour);
        }
    }
    pan.Finish(canvas, c.outline);
}

}  // namespace

std::vector<int> PanProfile(int halfWidth, int depth) {
    std::vector<int> profile;
    for (int row = 0; row < depth; ++row) {
        if (row < 2) {
            profile.push_back(halfWidth);
            continue;
        }
        const double t = static_cast<double>(row - 1) / (depth - 1);
        profile.push_back(static_cast<int>(std::lround((halfWidth - 2) * std::sqrt(1.0 - 0.75 * t * t))));
    }
    return profile;
}

void FillPanShape(Canvas& canvas, int centreX, int surfaceY, const std::vector<int>& profile, Rgb fill,
                  Rgb edge) {
    Canvas layer(canvas.Width(), canvas.Height());
    for (size_t row = 0; row < profile.size(); ++row)
        for (int dx = -profile[row]; dx <= profile[row]; ++dx)
            layer.Set(centreX + dx, surfaceY + static_cast<int>(row), fill);
    layer.EdgeShapes(edge);
    canvas.Blit(layer, 0, 0);
}

int LeftPanSurface(const BalanceShape& shape) { return shape.pivotY + shape.tilt + shape.panDrop; }
int RightPanSurface(const BalanceShape& shape) { return shape.pivotY - shape.tilt + shape.panDrop; }

void DrawBalance(Canvas& canvas, const BalanceShape& s, const BalanceColours& c) {
    const PointF pivot{static_cast<double>(s.pivotX), static_cast<double>(s.pivotY)};
    const PointF left{static_cast<double>(s.pivotX - s.arm), static_cast<double>(s.pivotY + s.tilt)};
    const PointF right{static_cast<double>(s.pivotX + s.arm), static_cast<double>(s.pivotY - s.tilt)};
    const double beamLength = std::hypot(right.x - left.x, right.y - left.y);
    const PointF along{(right.x - left.x) / beamLength, (right.y - left.y) / beamLength};
    const PointF up{along.y, -along.x};  // perpendicular to the beam, pointing away from the pans

    // Cords first: the pans, the beam and the weights all stand in front of them.
    const int surfaces[2] = {LeftPanSurface(s), RightPanSurface(s)};
    const PointF hangs[2] = {left, right};
    for (int side = 0; side < 2; ++side) {
        const int cx = static_cast<int>(hangs[side].x), top = static_cast<int>(hangs[side].y + s.ringRadius);
        const int reach = s.panHalfWidth - s.cordInset;
        canvas.Line(cx - reach, surfaces[side], cx, top, c.cord);
        canvas.Line(cx + reach, surfaces[side], cx, top, c.cord);
    }

    // The column and its stepped foot.
    Part post(canvas);
    post.Layer().FillRect(s.pivotX - s.postHalfWidth, s.pivotY, 2 * s.postHalfWidth + 1, s.baseTop - s.pivotY,
                          c.woodMid);
    post.Layer().FillRect(s.pivotX - s.postHalfWidth + 1, s.pivotY, std::max(1, s.postHalfWidth / 2),
                          s.baseTop - s.pivotY, c.woodLight);
    post.Layer().FillRect(s.pivotX + s.postHalfWidth - std::max(1, s.postHalfWidth / 2), s.pivotY,
                          std::max(1, s.postHalfWidth / 2), s.baseTop - s.pivotY, c.woodDark);
    post.Finish(canvas, c.outline);
    const int step = (s.baseBottom - s.baseTop) / 3;
    Part foot(canvas);
    const int upperHalf = s.baseHalfWidth * 3 / 5;
    foot.Layer().FillRect(s.pivotX - upperHalf, s.baseTop, 2 * upperHalf + 1, step + 1, c.woodMid);
    foot.Layer().FillRect(s.pivotX - upperHalf, s.baseTop, 2 * upperHalf + 1, 2, c.woodLight);
    foot.Finish(canvas, c.outline);
    Part plinth(canvas);
    plinth.Layer().FillPolygon({{s.pivotX - s.baseHalfWidth + 3.0, s.baseTop + step + 1.0},
                                {s.pivotX + s.baseHalfWidth - 2.0, s.baseTop + step + 1.0},
                                {s.pivotX + s.baseHalfWidth + 1.0, s.baseBottom + 0.0},
                                {s.pivotX - s.baseHalfWidth + 0.0, s.baseBottom + 0.0}},
                               c.woodMid);
    plinth.Layer().FillRect(s.pivotX - s.baseHalfWidth, s.baseTop + step + 1, 2 * s.baseHalfWidth + 2, 2,
                            c.woodLight);
    plinth.Layer().FillRect(s.pivotX - s.baseHalfWidth, s.baseBottom - 3, 2 * s.baseHalfWidth + 2, 3,
                            c.woodDark);
    plinth.Finish(canvas, c.outline);

    // A fixed dial behind the pointer shows how far the beam leans.
    if (s.dialRadius > 0) {
        Part dial(canvas);
        dial.Layer().FillEllipse(pivot.x + 0.5, pivot.y + 0.5, s.dialRadius, s.dialRadius, c.dial);
        dial.Layer().FillRect(0, s.pivotY + 1, canvas.Width(), static_cast<int>(s.dialRadius) + 2,
                              kKeyColour);
        for (int mark = -2; mark <= 2; ++mark) {
            const double angle = mark * 0.3;
            const PointF outer{pivot.x + 0.5 + std::sin(angle) * (s.dialRadius - 1),
                               pivot.y + 0.5 - std::cos(angle) * (s.dialRadius - 1)};
            const PointF inner{pivot.x + 0.5 + std::sin(angle) * (s.dialRadius - 5),
                               pivot.y + 0.5 - std::cos(angle) * (s.dialRadius - 5)};
            dial.Layer().Line(static_cast<int>(outer.x), static_cast<int>(outer.y), static_cast<int>(inner.x),
                              static_cast<int>(inner.y), mark == 0 ? c.brassDark : c.woodMid);
        }
        dial.Finish(canvas, c.outline);
        Part needle(canvas);
        const PointF centre{pivot.x + 0.5, pivot.y + 0.5};
        needle.Layer().ThickLine(centre, {centre.x + up.x * s.needleLength, centre.y + up.y * s.needleLength},
                                 2.2, c.outline);
        canvas.Blit(needle.Layer(), 0, 0);
    }

    // The beam with round knobs at its ends and rings where the pans hang.
    Part beam(canvas);
    const PointF from{left.x + 0.5 - along.x * s.beamOverhang, left.y + 0.5 - along.y * s.beamOverhang};
    const PointF to{right.x + 0.5 + along.x * s.beamOverhang, right.y + 0.5 + along.y * s.beamOverhang};
    beam.Layer().ThickLine(from, to, s.beamWidth, c.brassMid);
    const double shine = s.beamWidth / 4;
    beam.Layer().ThickLine({from.x + up.x * shine, from.y + up.y * shine},
                           {to.x + up.x * shine, to.y + up.y * shine}, s.beamWidth / 3, c.brassLight);
    beam.Layer().FillCircle(from.x, from.y, s.knobRadius, c.brassMid);
    beam.Layer().FillCircle(to.x, to.y, s.knobRadius, c.brassMid);
    beam.Layer().FillCircle(from.x - 1, from.y - 1, s.knobRadius / 2.5, c.brassLight);
    beam.Layer().FillCircle(to.x - 1, to.y - 1, s.knobRadius / 2.5, c.brassLight);
    beam.Finish(canvas, c.outline);
    for (const PointF& hang : hangs) {
        Part ring(canvas);
        ring.Layer().FillCircle(hang.x + 0.5, hang.y + 0.5 + s.ringRadius / 2, s.ringRadius, c.brassDark);
        ring.Finish(canvas, c.outline);
    }
    Part hub(canvas);
    hub.Layer().FillCircle(pivot.x + 0.5, pivot.y + 0.5, s.pivotRadius, c.brassMid);
    hub.Layer().FillCircle(pivot.x - 0.5, pivot.y - 0.5, s.pivotRadius / 2.5, c.brassLight);
    hub.Finish(canvas, c.outline);
    canvas.Set(s.pivotX, s.pivotY, c.outline);

    DrawPan(canvas, static_cast<int>(left.x), surfaces[0], s, c);
    DrawPan(canvas, static_cast<int>(right.x), surfaces[1], s, c);
}

}  // namespace pw::tool
