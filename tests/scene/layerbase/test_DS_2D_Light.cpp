// The layer's record, its picture and sizing, and its device lifecycle.
#include "scene/layerbase/DS_2D_Light.h"

#include "foundation/render/PictureMapping.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/LayerTestSupport.h"
#include "tools/document/Light2DRecord.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

namespace {

using LayerRecordTest = LayerTest<256, 256>;
using LayerSizingTest = LayerTest<1024, 768>;

const FileKey WidePicture{L"wide.png", 1};
const FileKey SmallPicture{L"small.png", 2};

// A layer that counts the calls of its virtual sizing.
class SizingLayer : public DS_2D_Light {
public:
    void SetSize(int width, int height) override
    {
        ++sizings;
        DS_2D_Light::SetSize(width, height);
    }
    int sizings = 0;
};

// Reads the "DS_2D_Light" record in bytes into layer; returns the bytes
// left unread.
std::size_t ReadRecord(const DocumentBuilder::Bytes& bytes, DS_2D_Light& layer)
{
    ByteArchive in(bytes);
    ReadLightBase(in.handle, layer);
    return in.buffer.Remaining();
}

} // namespace

// Each version reads its own fields and keeps the defaults for the rest:
// version 1 the module picture and a disabled camera, version 2 the camera.
TEST(DS_2D_Light, RecordVersionsReadTheirOwnFields)
{
    struct Case {
        int32_t version;
        const wchar_t* path;
        int64_t stamp;
        int enabled;
        unsigned zoom;
        unsigned speed;
    };
    const Case cases[] = {
        {1, L"common_res.dll", 5, 0, 120, 50},
        {2, L"picture.jpg", 77, 0, 120, 50},
        {3, L"picture.jpg", 77, 1, 150, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        LightContent content;
        content.version = c.version;
        content.picturePath = L"picture.jpg";
        content.pictureStamp = 77;
        content.cameraEnabled = 1;
        content.cameraZoom = 150;
        content.cameraSpeed = 70;
        DS_2D_Light layer;
        EXPECT_EQ(0u, ReadRecord(Light2DRecordBytes(content), layer));
        EXPECT_EQ(c.path, layer.pictureLink.value.path);
        EXPECT_EQ(c.stamp, layer.pictureLink.value.stamp);
        EXPECT_EQ(c.enabled, layer.camera.enabled.value);
        EXPECT_EQ(c.zoom, layer.camera.zoom.value);
        EXPECT_FLOAT_EQ(c.zoom * 0.01f, layer.camera.zoom.result);
        EXPECT_EQ(c.speed, layer.camera.speed.value);
    }
}

// Writing gives the bytes of the record with the layer's values.
TEST(DS_2D_Light, WriteGivesTheVersion3Record)
{
    DS_2D_Light layer;
    layer.pictureLink.value = FileKey{L"C:\\pictures\\lake.jpg", 123456789};
    layer.camera.enabled.value = 1;
    layer.camera.zoom.SetValue(140, nullptr);
    layer.camera.speed.SetValue(20, nullptr);
    WritingHandle out;
    layer.Write(out.handle);

    LightContent expected;
    expected.picturePath = L"C:\\pictures\\lake.jpg";
    expected.pictureStamp = 123456789;
    expected.cameraEnabled = 1;
    expected.cameraZoom = 140;
    expected.cameraSpeed = 20;
    EXPECT_EQ(Light2DRecordBytes(expected), out.archive->Bytes());
}

// Reading the link tells nobody; a later change of the link loads the new
// picture and sizes the layer again through the virtual SetSize.
TEST_F(LayerRecordTest, OnlyALaterLinkChangeReloadsThePicture)
{
    ComHolder<IDirect3DTexture9> wide = SolidTexture(Device(), 0xFF102030);
    ComHolder<IDirect3DTexture9> small = SolidTexture(Device(), 0xFF405060);
    AddPicture(manager, WidePicture, wide.Get(), 1000, 500);
    AddPicture(manager, SmallPicture, small.Get(), 200, 100);

    LightContent content;
    content.picturePath = WidePicture.path;
    content.pictureStamp = WidePicture.stamp;
    SizingLayer layer;
    ReadRecord(Light2DRecordBytes(content), layer);
    EXPECT_EQ(0, layer.sizings);
    EXPECT_FALSE(layer.pictureQuad.texture);

    layer.OnDeviceCreated();
    layer.SetSize(256, 256);
    ASSERT_EQ(1, layer.sizings);
    EXPECT_EQ(wide.Get(), layer.pictureQuad.texture.Get());
    EXPECT_EQ(1000, layer.GetPictureWidth());

    layer.pictureLink.value = SmallPicture;
    layer.pictureLink.NotifyListeners(nullptr);
    EXPECT_EQ(2, layer.sizings);
    EXPECT_EQ(small.Get(), layer.pictureQuad.texture.Get());
    EXPECT_EQ(200, layer.GetPictureWidth());
    EXPECT_EQ(100, layer.GetPictureHeight());
    EXPECT_EQ(256, layer.layerWidth);
    EXPECT_EQ(200, CurrentPictureMapping.pictureWidth);
    EXPECT_EQ(100, CurrentPictureMapping.pictureHeight);
}

// Fill on a layer of the back buffer's size letterboxes a 2:1 picture at
// (0, 128)..(1024, 640) and fills the layer by 1.5; the back-buffer scales
// are 1 at full size and the back buffer's size for a 1 × 1 layer.
TEST_F(LayerSizingTest, PicturePositionPublishesTheMappingAndFill)
{
    ComHolder<IDirect3DTexture9> wide = SolidTexture(Device(), 0xFF102030);
    AddPicture(manager, WidePicture, wide.Get(), 1000, 500);
    DS_2D_Light layer;
    ActivateLayer(layer, WidePicture, 1024, 768, SceneView::Fit);
    layer.SetPicturePosition(SceneView::Fill);

    EXPECT_EQ(SceneView::Fill, layer.pictureMode);
    EXPECT_EQ(SceneView::Fill, view.mode);
    EXPECT_FLOAT_EQ(1.5f, view.fillScale._11);
    EXPECT_FLOAT_EQ(1.5f, view.fillScale._22);
    const ScreenQuad& fitted = CurrentPictureMapping.fittedPicture;
    EXPECT_FLOAT_EQ(0.0f, fitted.Left());
    EXPECT_FLOAT_EQ(128.0f, fitted.Top());
    EXPECT_FLOAT_EQ(1024.0f, fitted.Right());
    EXPECT_FLOAT_EQ(640.0f, fitted.Bottom());
    EXPECT_EQ(1000, CurrentPictureMapping.pictureWidth);
    EXPECT_EQ(500, CurrentPictureMapping.pictureHeight);
    EXPECT_FLOAT_EQ(1.0f, CurrentPictureMapping.scaleX);
    EXPECT_FLOAT_EQ(1.0f, CurrentPictureMapping.scaleY);

    layer.SetSize(1, 1);
    EXPECT_FLOAT_EQ(1024.0f, CurrentPictureMapping.scaleX);
    EXPECT_FLOAT_EQ(768.0f, CurrentPictureMapping.scaleY);
    EXPECT_EQ(SceneView::Fill, view.mode);
}

// The pan starts again from the centre and runs; the answer says whether it
// ran before.
TEST(DS_2D_Light, ResetCameraPanStartsThePan)
{
    DS_2D_Light layer;
    layer.camera.panToX = 0.5f;
    layer.camera.panEnd = 3.0f;
    EXPECT_FALSE(layer.ResetCameraPan());
    EXPECT_EQ(1, layer.camera.panMode.value);
    EXPECT_EQ(0.0f, layer.camera.panToX);
    EXPECT_EQ(0.0f, layer.camera.panEnd);
    EXPECT_TRUE(layer.ResetCameraPan());
}

// Restoring sets the state every frame starts from, whatever was left, and
// makes the capture pair at the back buffer's size.
TEST_F(LayerRecordTest, RestoreSetsTheDefaultStateAndThePair)
{
    IDirect3DDevice9* d = Device();
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRS_LIGHTING, TRUE);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1);

    DS_2D_Light layer;
    layer.OnDeviceRestored();

    struct RenderCase {
        D3DRENDERSTATETYPE state;
        DWORD value;
    };
    for (const RenderCase& c : {RenderCase{D3DRS_ZENABLE, D3DZB_FALSE}, RenderCase{D3DRS_ZWRITEENABLE, FALSE},
                                RenderCase{D3DRS_LIGHTING, FALSE}, RenderCase{D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
                                RenderCase{D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}}) {
        DWORD value = 0;
        d->GetRenderState(c.state, &value);
        EXPECT_EQ(c.value, value) << "render state " << c.state;
    }
    struct SamplerCase {
        D3DSAMPLERSTATETYPE state;
        DWORD value;
    };
    for (const SamplerCase& c : {SamplerCase{D3DSAMP_MINFILTER, D3DTEXF_LINEAR},
                                 SamplerCase{D3DSAMP_MAGFILTER, D3DTEXF_LINEAR},
                                 SamplerCase{D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR},
                                 SamplerCase{D3DSAMP_ADDRESSV, D3DTADDRESS_MIRROR}}) {
        DWORD value = 0;
        d->GetSamplerState(0, c.state, &value);
        EXPECT_EQ(c.value, value) << "sampler state " << c.state;
    }
    struct StageCase {
        DWORD stage;
        D3DTEXTURESTAGESTATETYPE state;
        DWORD value;
    };
    for (const StageCase& c :
         {StageCase{0, D3DTSS_TEXCOORDINDEX, 0}, StageCase{0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
          StageCase{0, D3DTSS_COLORARG2, D3DTA_DIFFUSE}, StageCase{0, D3DTSS_COLOROP, D3DTOP_SELECTARG1},
          StageCase{1, D3DTSS_TEXCOORDINDEX, 1}, StageCase{1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
          StageCase{1, D3DTSS_COLOROP, D3DTOP_DISABLE}}) {
        DWORD value = 0;
        d->GetTextureStageState(c.stage, c.state, &value);
        EXPECT_EQ(c.value, value) << "stage " << c.stage << " state " << c.state;
    }

    ASSERT_TRUE(layer.targetPair.current);
    D3DSURFACE_DESC desc{};
    layer.targetPair.current->GetLevelDesc(0, &desc);
    EXPECT_EQ(256u, desc.Width);
    EXPECT_EQ(256u, desc.Height);
    EXPECT_EQ(D3DUSAGE_RENDERTARGET, desc.Usage);
}
