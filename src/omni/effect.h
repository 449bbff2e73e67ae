#ifndef TESSARY_OMNI_EFFECT_H
#define TESSARY_OMNI_EFFECT_H

namespace omni {

// What every effect on the timeline offers the frame loop. Per frame, while its node's beat
// range holds the current beat, the loop calls UpdateLogic and then Draw, with the modelview
// matrix saved around the pair. Draw must only draw: everything that changes over time changes
// in UpdateLogic, so a frame whose picture is not kept may skip Draw. (The flash's clear
// colour is the one piece of GL state carried from one frame into the next.)
class Effect {
 public:
  virtual ~Effect() = default;
  virtual const char* Name() = 0;
  virtual int Draw() = 0;
  // time: seconds since the node's start; beat: beats since the node's start beat;
  // beat_changed: true only in the frame in which the global beat counter advanced.
  virtual void UpdateLogic(const float& time, const int& beat, const bool& beat_changed) = 0;
};

}  // namespace omni

#endif
