// Drawing and scrolling of text boxes.
#include "engine/display/variable.h"
#include "engine/display/variable_links.h"

namespace quor {

void Variable::Draw() {
  if (!tiedMap && visible) RunDrawing();
}

void Variable::DrawOnMap() {
  if (tiedMap && visible) RunDrawing();
}

void Variable::RunDrawing() { StepTextEffect(); }

}  // namespace quor
