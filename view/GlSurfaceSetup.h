// The steps that give the view its double-buffered OpenGL surface and a
// context current on the user-interface thread. Each step can fail, and the
// view names the failed one in its message; tests fail a chosen step by
// overriding it.
#pragma once

class QOpenGLContext;
class QWindow;

class GlSurfaceSetup {
public:
    virtual ~GlSurfaceSetup() = default;

    // Asks for an RGBA 8/8/8 surface, 24-bit depth, double-buffered, with an
    // OpenGL compatibility profile; false when the platform has no desktop
    // OpenGL to give one.
    virtual bool ChooseFormat(QWindow& window);
    // Creates the native window with that format.
    virtual bool CreateNativeWindow(QWindow& window);
    // Reads back the format the native window really has.
    virtual bool DescribeFormat(QWindow& window);
    virtual bool CreateContext(QOpenGLContext& context, QWindow& window);
    virtual bool MakeCurrent(QOpenGLContext& context, QWindow& window);
};

// The names the failure message gives each step.
extern const char* const kChooseFormatStep;
extern const char* const kCreateNativeWindowStep;
extern const char* const kDescribeFormatStep;
extern const char* const kCreateContextStep;
extern const char* const kMakeCurrentStep;
