// The renderer choice made before the application starts: software wherever OpenGL would only
// cost the start-up, OpenGL where a GPU serves, and either when forced.
#include "webview/TWebRenderer.h"

#include <gtest/gtest.h>

namespace {

TRendererFacts withGpu() {
    TRendererFacts f;
    f.gpuDevice = true;
    f.platform = "xcb";
    return f;
}

TEST(WebRenderer, OpenGLOnlyWhereAGpuServesTheEngine) {
    EXPECT_EQ(TWebRenderer::Choose(withGpu()), TRenderer::OpenGL);
    TRendererFacts f = withGpu();
    f.gpuDevice = false; // Mesa's software rasteriser would be all that answers
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::Software);

    f = withGpu();
    f.chromiumFlags = "--no-sandbox --disable-gpu";
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::Software);
    f.chromiumFlags = "--disable-gpu-compositing"; // another switch, not the GPU off
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::OpenGL);

    f = withGpu();
    f.libglSoftware = "1";
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::Software);
    f.libglSoftware = "0";
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::OpenGL);

    f = withGpu();
    f.platform = "offscreen";
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::Software);
    f.platform = "xcb:display=:1";
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::OpenGL);

    f = withGpu();
    f.quickBackend = "software";
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::Software);
}

TEST(WebRenderer, ForcedEitherWay) {
    TRendererFacts f = withGpu();
    f.forced = "Software";
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::Software);
    f = TRendererFacts{};
    f.chromiumFlags = "--disable-gpu";
    f.forced = "opengl";
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::OpenGL);
    f.forced = "gl";
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::OpenGL);
    f.forced = "something else"; // not a choice: decided as usual
    EXPECT_EQ(TWebRenderer::Choose(f), TRenderer::Software);
}

} // namespace
