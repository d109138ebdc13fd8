#include "platform/OpenGLRenderer.h"

#include <QTest>

class TestOpenGLRenderer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Rasterisers on the processor are told from real graphics processors by their names.
    void tellsSoftwareRasterisers()
    {
        struct Row {
            const char *renderer;
            bool software;
        };
        const Row rows[]{
            {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
            {"softpipe", true},
            {"Mesa DRI Intel(R) HD Graphics (Software Rasterizer)", true},
            {"Apple Software Renderer", true},
            {"SWR (LLVM 6.0, 256 bits)", true},
            {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
            {"AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},
            {"NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", false},
            {"", false},
        };
        for (const Row &row : rows)
            QCOMPARE(std::pair(row.renderer, OpenGLRenderer::isSoftware(row.renderer)), std::pair(row.renderer, row.software));
    }
};

QTEST_GUILESS_MAIN(TestOpenGLRenderer)
#include "tst_openglrenderer.moc"
