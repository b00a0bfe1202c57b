#ifndef QEL_ASSETGEN_MANPAINTER_HPP
#define QEL_ASSETGEN_MANPAINTER_HPP

#include "tools/assetgen/Canvas.hpp"

#include <SFML/System/Vector2.hpp>

#include <string>

namespace QEL::AssetGen {

// Paints the player's figure: the walking sheet "QELMan.png" with its animation file "man.anim",
// the matching hair cells "QELHair.png" and the footprint shadow "QELmancoll.png".
// Frames are 180 x 270 with the feet at (90, 270); the head never moves within a frame, so the
// one hair cell of a direction fits every frame of it.
class ManPainter {
public:
    // How the figure is seen; every view but Front and Back faces right, left is its mirror image.
    enum class View { Front, FrontQuarter, Side, BackQuarter, Back };

    Canvas bodySheet() const;       // 6 columns x 9 rows of frames
    Canvas hairSheet() const;       // 5 x 1: front, front quarter, side, back quarter, back
    Canvas shadow() const;          // 180 x 300, an oval under (90, 270)
    std::string animationFile() const;

    static constexpr unsigned Scale = 3;
    static constexpr int WalkFrames = 6;

private:
    struct Limb {
        sf::Vector2f root;   // hip or shoulder
        sf::Vector2f joint;  // knee or elbow
        sf::Vector2f end;    // foot or hand
    };
    struct Pose {
        Limb legs[2];        // [0] far or left, [1] near or right
        Limb arms[2];
        bool blink = false;
        float breath = 0.0f; // how far the shoulders sink, in art pixels
    };

    static Pose walkPose(View view, float phase);
    static Pose standingPose(float breath, bool blink);
    static Canvas frame(View view, const Pose& pose);
    static Canvas hair(View view);

    static void paintLeg(Canvas& figure, const Limb& leg, bool far);
    static void paintArm(Canvas& figure, const Limb& arm, bool far);
    static void paintTorso(Canvas& figure, View view, float breath);
    static void paintHead(Canvas& figure, View view, bool blink);
};

} // namespace QEL::AssetGen

#endif
