// A view that shows a panorama and can swing it in after an open.
#pragma once

#include "framework/Document.h"

class PanoramaView : public framework::DocumentView {
public:
    // Sets the camera to the opening animation's start values and starts the
    // animation timer.
    virtual void StartView() = 0;
    // Makes the view's rendering context current (it normally is).
    virtual void MakeContextCurrent() {}
};
