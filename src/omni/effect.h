#ifndef TESSARY_OMNI_EFFECT_H
#define TESSARY_OMNI_EFFECT_H

namespace omni {

// What every effect on the timeline offers the frame loop. Per frame, while its node's beat
// range holds the current beat, the loop calls UpdateLogic and then Draw, with the modelview
// matrix saved around the pair. Draw must only draw: everything that changes over time changes
// in UpdateLogic, so a step whose picture is not kept may skip Draw, and a frame may be drawn
// again without a new UpdateLogic.
class Effect {
 public:
  virtual ~Effect() = default;
  virtual const char* Name() = 0;
  virtual int Draw() = 0;
  // time: seconds since the node's start; beat: beats since the node's start beat;
  // beat_changed: true only in the frame in which the global beat counter advanced.
  virtual void UpdateLogic(const float& time, const int& beat, const bool& beat_changed) = 0;
  // True for an effect whose Draw draws nothing and only sets GL state that later frames rely
  // on (the flash's clear colour). The frame step replays its last Draw before drawing a frame
  // that follows steps run without drawing.
  virtual bool DrawSetsStateOnly() const { return false; }
};

}  // namespace omni

#endif
