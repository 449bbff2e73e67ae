#include "demo/script.h"
#include "effect/longline.h"

using namespace script;

namespace {

// One pulsing row of the part: where it starts, how it is turned, how long, its colour and
// which way its pulse runs.
struct LineRow {
  float x, y, z;
  float rx, ry, rz;
  float length;
  float r, g, b;
  bool forward;
};

// Six groups of six rows criss-crossing the flight from z = 150 to the earth at z = -150.
const LineRow line_rows[] = {
    {110, 20, -150, 50, 50, 220, 390, 0.745098f, 0.768627f, 0.392157f, false},
    {20, 20, -70, 10, -60, 150, 370, 0.639216f, 0.635294f, 0.627451f, true},
    {-60, -60, -70, 50, 50, 50, 220, 0.745098f, 0.768627f, 0.392157f, false},
    {50, 50, -70, -60, 50, -70, 320, 0.739216f, 0.635294f, 0.627451f, false},
    {30, 30, -70, -65, 60, -40, 120, 0.845098f, 0.768627f, 0.392157f, true},
    {-30, -30, -140, 65, 80, -160, 720, 0.945098f, 0.768627f, 0.392157f, true},

    {100, 10, -130, 40, 60, 220, 370, 0.839216f, 0.635294f, 0.627451f, false},
    {10, 10, -80, 0, -50, 140, 350, 0.85098f, 0.678431f, 0.34902f, true},
    {-50, -50, -80, 40, 40, 40, 200, 0.95098f, 0.678431f, 0.34902f, false},
    {40, 40, -70, -50, 54, -60, 300, 0.85098f, 0.778431f, 0.34902f, false},
    {20, 20, -80, -55, 50, -30, 100, 0.882353f, 0.890196f, 0.737255f, true},
    {-20, -20, -90, 55, 40, -120, 700, 0.882353f, 0.790196f, 0.637255f, true},

    {110, 20, -100, 50, 30, 220, 390, 0.882353f, 0.890196f, 0.637255f, false},
    {20, 20, -30, 10, -40, 150, 370, 0.509804f, 0.627451f, 0.015686f, true},
    {-60, -60, -30, 50, 10, 50, 220, 0.509804f, 0.627451f, 0.115686f, false},
    {50, 50, -30, -60, 10, -70, 320, 0.509804f, 0.627451f, 0.215686f, false},
    {30, 30, -30, -65, 30, -40, 120, 0.0f, 0.0f, 0.2f, true},
    {-30, -30, -90, 65, 30, -160, 720, 0.0f, 0.2f, 0.2f, true},

    {100, 10, -90, 40, 30, 220, 370, 0.7f, 0.0f, 0.7f, false},
    {10, 10, -40, 0, -30, 140, 350, 0.0f, 0.7f, 0.7f, true},
    {-50, -50, -40, 40, 0, 40, 200, 0.2f, 0.0f, 0.0f, false},
    {40, 40, -40, -50, 0, -60, 300, 0.0f, 0.2f, 0.0f, false},
    {20, 20, -40, -55, 20, -30, 100, 0.0f, 0.0f, 0.2f, true},
    {-20, -20, -40, 55, 20, -120, 700, 0.0f, 0.2f, 0.2f, true},

    {110, 20, -60, 50, 30, 260, 390, 0.7f, 0.0f, 0.7f, false},
    {20, 20, 10, 10, -40, 190, 370, 0.0f, 0.7f, 0.7f, true},
    {-60, -60, 10, 50, 10, 90, 220, 0.2f, 0.0f, 0.0f, false},
    {50, 50, 10, -60, 10, -110, 320, 0.0f, 0.2f, 0.0f, false},
    {30, 30, 10, -65, 30, -100, 120, 0.0f, 0.0f, 0.2f, true},
    {-30, -30, -30, 65, 30, -100, 720, 0.0f, 0.2f, 0.2f, true},

    {100, 10, -50, 40, 30, 250, 370, 0.7f, 0.0f, 0.7f, false},
    {10, 10, 0, 0, -30, 180, 350, 0.0f, 0.7f, 0.7f, true},
    {-50, -50, 0, 40, 0, 80, 200, 0.2f, 0.0f, 0.0f, false},
    {40, 40, 0, -50, 0, -100, 300, 0.0f, 0.2f, 0.0f, false},
    {20, 20, 0, -55, 20, -90, 100, 0.0f, 0.0f, 0.2f, true},
    {-20, -20, -20, 55, 20, -90, 700, 0.0f, 0.2f, 0.2f, true},
};

}  // namespace

// The line part: 36 pulsing rows, the earth in relief at the far end, and a glide from
// z = 150 through the rows to the origin in 40 beats, then on to the earth in the last 4
// while rolling 40 degrees.
Enabler* init_linepart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                       float start_time, int start_beat, int end_beat) {
  PartScript part(list, camera, seconds_per_beat, start_time, start_beat, end_beat);
  for (const LineRow& row : line_rows) {
    effect::LongLine* line = new effect::LongLine();
    line->SetStartPos(V(row.x, row.y, row.z));
    line->SetRotation(V(row.rx, row.ry, row.rz));
    line->SetLength(row.length);
    line->SetColor(row.r, row.g, row.b);
    line->SetDirection(row.forward);
    line->Setup();
    part.add(line);
  }
  // Still: its hide position is its show position.
  BI* earth = still_picture(load_picture("data/earth.png"), BI::DISPLAY_RELIEF, V(-25, 25, -150));
  earth->SetHidePosition(V(-25, 25, -150));
  part.add(earth);
  return part.list;
}
