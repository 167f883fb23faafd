#include "title/TitleScreen.h"

#include "elements/Image.h"
#include "elements/Text.h"
#include "resources/ResourceIds.h"

namespace pw {

TitleScreen::TitleScreen(Platform& platform_, ScreenListener* owner_) : Screen(platform_, owner_) {
    auto* picture = new Image(this, res::kTitlePicture);
    picture->SetLayer(1);
    picture->enabled = true;
    picture->SetVisible(true);
    picture->AddListener(this);
    background = picture;
    AddElement(picture);

    AddLine(res::kVersionText, 10, 300);
    AddLine(res::kNoticeText, 158, 300);
}

void TitleScreen::AddLine(int stringId, int32_t x, int32_t y) {
    const std::u16string line = platform.resources.LoadString(stringId, 20);
    auto* text = new Text(this, line, kTextColour, BoldSwissFont(13));
    text->SetLayer(10);
    text->enabled = false;
    text->SetVisible(true);
    // Presses go through the texts to the picture beneath.
    text->passThrough = true;
    text->SetX(x);
    text->SetY(y);
    AddElement(text);
}

TitleScreen::~TitleScreen() {
    DestroyAllElements();
    listeners.Clear();
}

void TitleScreen::OnElementPressed(Figure* element, int32_t x, int32_t y) {
    for (int32_t i = 0; i < listeners.count; ++i) listeners.ItemAt(i)->OnScreenEvent(this, element, x, y);
}

void TitleScreen::OnElementReleased(Figure*, int32_t, int32_t) {}
void TitleScreen::OnAnimationStarted(Animation*) {}
void TitleScreen::OnAnimationEnded(Animation*, int32_t) {}
void TitleScreen::OnAnimationFrame(Animation*, int32_t) {}

}  // namespace pw
