// A player's walk across a map by real input: the way to a map point is planned around the step
// areas and blockers of the current map (doors into interiors, zones), as a person walks round
// the marks on the ground, and each leg is walked by holding the right button toward its end.
#pragma once
#include "engine/types.h"

#include <vector>

struct MapPoint {
    s32 x = 0, y = 0;
};

// The legs from (x0, y0) to (x1, y1) on the current map: a straight line when it is clear of
// every active object of the map that the feet may step on or that blocks (each object's sprite
// box, widened by a margin), else the first clear path with one or two corners. Objects whose
// box holds the start or the end do not count (the walk may start on a door's arrival point or
// end on a door). An empty list when no clear path is found.
std::vector<MapPoint> walk_plan(s32 x0, s32 y0, s32 x1, s32 y1);

// Walks the player, called once a field frame: plans the way to (x, y) when the target changes,
// holds the right button toward the next corner and returns true once the player stands within
// `reach` of the target.
class MapWalk {
  public:
    bool toward(s32 x, s32 y, s32 reach = 12);
    // Walks up beside obj (to its right, clear of its figure, so that the player's own figure
    // does not cover the click), then clicks it once until the next `new_step`.
    void click_beside(s32 obj);
    // Through a door: below it first, then straight up onto it.
    void through_door(s32 door);
    // A new step of the player's part: the next `click_beside` clicks again.
    void new_step();
    bool clicked() const { return clicked_; }
    void reset();

  private:
    std::vector<MapPoint> legs_;
    size_t leg_ = 0;
    MapPoint target_{-1, -1};
    s32 map_ = -1;
    s32 frames_ = 0;
    s32 held_until_ = 0;
    bool clicked_ = false;
    bool below_door_ = false;
};
