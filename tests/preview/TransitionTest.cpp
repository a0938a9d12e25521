// Tests of the transition between windows on the card: the slide from the
// side of the step, its duration, the plain cross-fade under reduced motion,
// and the bookkeeping that disowns a completion once a newer transition,
// a state without image or stop has moved the epoch on.

#include <gtest/gtest.h>

#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "preview/PreviewImageView.h"
#include "tests/preview/PreviewFixture.h"
#include "tests/support/Call.h"

namespace orvane::testing {
namespace {

using test::data;

json twoWindows() {
    return PreviewTest::windowApp("com.example.notes", "Notes", 700,
                                  json::array({PreviewTest::window(81, "One", 1600, 1000),
                                               PreviewTest::window(82, "Two", 1600, 1000)}));
}

class TransitionTest : public PreviewTest {
protected:
    // A live card on the first of two windows, its first fade finished.
    std::shared_ptr<WindowPreview> liveCard(json extra = json::object()) {
        startWith(json::array({twoWindows()}), extra);
        auto card = open(0);
        desktop::advance(0.5);
        EXPECT_EQ(report()["displayedWindowID"], 81);
        return card;
    }
};

// Tests that "next" slides the new picture in from 14 pt to the right while
// the old one leaves to the left, for 0.22 s, and "previous" the reverse.
TEST_F(TransitionTest, SlidesFromTheSideOfTheStep) {
    auto card = liveCard();
    EXPECT_EQ(report()["transitions"], 0);
    data("previewStep");
    desktop::advance(0);
    EXPECT_EQ(report()["transitions"], 1);
    EXPECT_TRUE(card->isSwitching());
    EXPECT_NE(card->outgoingImage()->image(), nullptr);
    EXPECT_NEAR(card->imageView()->presentationFrame().minX(), 14, 1e-9);
    EXPECT_NEAR(card->imageView()->presentationAlpha(), 0, 1e-9);
    desktop::advance(0.11);
    EXPECT_GT(card->imageView()->presentationFrame().minX(), 0);
    EXPECT_LT(card->imageView()->presentationFrame().minX(), 14);
    EXPECT_LT(card->outgoingImage()->presentationFrame().minX(), 0);
    EXPECT_GT(card->outgoingImage()->presentationAlpha(), 0);
    desktop::advance(0.10);
    EXPECT_TRUE(card->isSwitching()) << "0.21 s in";
    EXPECT_FALSE(card->next()->isEnabled());
    desktop::advance(0.02);
    EXPECT_FALSE(card->isSwitching());
    EXPECT_EQ(card->outgoingImage()->image(), nullptr);
    EXPECT_EQ(card->imageView()->presentationFrame(), card->viewport()->bounds());
    EXPECT_TRUE(card->previous()->isEnabled());
    EXPECT_FALSE(card->next()->isEnabled());

    data("previewStep", {{"step", -1}});
    desktop::advance(0);
    EXPECT_NEAR(card->imageView()->presentationFrame().minX(), -14, 1e-9);
    desktop::advance(0.11);
    EXPECT_GT(card->outgoingImage()->presentationFrame().minX(), 0);
    desktop::advance(0.2);
    EXPECT_EQ(report()["transitions"], 2);
    EXPECT_EQ(report()["switching"], false);
}

// Tests that stepping away and back before the new picture arrives ends the
// switch on the window already shown, so the step buttons come back.
TEST_F(TransitionTest, SteppingBackBeforeThePictureArrivesEndsTheSwitch) {
    auto card = liveCard();
    data("previewStep");
    data("previewStep", {{"step", -1}});
    EXPECT_TRUE(card->isSwitching());
    desktop::advance(0.5);
    EXPECT_EQ(report()["displayedWindowID"], 81);
    EXPECT_EQ(report()["switching"], false);
    EXPECT_TRUE(card->next()->isEnabled());
    EXPECT_FALSE(card->previous()->isEnabled());
    // The buttons work again.
    data("previewStep");
    desktop::advance(0.5);
    EXPECT_EQ(report()["displayedWindowID"], 82);
    EXPECT_EQ(report()["switching"], false);
}

// Tests that under reduced motion the change is a 0.08 s cross-fade in place.
TEST_F(TransitionTest, ReducedMotionCrossFades) {
    auto card = liveCard({{"reduceMotion", true}});
    data("previewStep");
    desktop::advance(0.04);
    EXPECT_EQ(card->imageView()->presentationFrame(), card->viewport()->bounds());
    EXPECT_EQ(card->outgoingImage()->presentationFrame(), card->viewport()->bounds());
    double alpha = card->imageView()->presentationAlpha();
    EXPECT_GT(alpha, 0);
    EXPECT_LT(alpha, 1);
    desktop::advance(0.03);
    EXPECT_TRUE(card->isSwitching());
    desktop::advance(0.02);
    EXPECT_FALSE(card->isSwitching());
}

// Tests that the completion of a transition overtaken by a newer one, by a
// state without image or by stop changes nothing.
TEST_F(TransitionTest, OvertakenCompletionsAreDisowned) {
    auto card = liveCard();
    data("previewStep");
    desktop::advance(0.1);
    data("previewStep", {{"step", -1}});
    desktop::advance(0);
    const auto epoch = card->animationEpoch();
    desktop::advance(0.13);
    EXPECT_TRUE(card->isSwitching()) << "the first transition's end came, the second runs on";
    EXPECT_NE(card->outgoingImage()->image(), nullptr);
    EXPECT_EQ(card->animationEpoch(), epoch);
    desktop::advance(0.1);
    EXPECT_FALSE(card->isSwitching());
    EXPECT_EQ(report()["transitions"], 2);

    // A failure during a transition: the card shows its state, and the
    // transition's end does not bring anything back.
    data("previewStep");
    verb("capture fail 81");
    desktop::advance(0);
    ASSERT_EQ(report()["displayedWindowID"], 82);
    desktop::advance(0.1);
    data("previewStep", {{"step", -1}});
    desktop::advance(0);
    EXPECT_EQ(report()["status"], "unavailable");
    EXPECT_FALSE(card->isSwitching());
    desktop::advance(0.5);
    EXPECT_EQ(card->imageView()->image(), nullptr);
    EXPECT_EQ(card->outgoingImage()->image(), nullptr);
    EXPECT_FALSE(card->next()->isEnabled());
    EXPECT_FALSE(card->previous()->isEnabled());

    // Stop during a transition.
    verb("capture ok 81");
    card->retry()->performClick();
    desktop::advance(0.5);
    data("previewStep");
    desktop::advance(0.1);
    data("closeCard");
    desktop::advance(0.5);
    EXPECT_TRUE(card->isSwitching()) << "a stopped card is left as it was";
    EXPECT_EQ(card->imageView()->image(), nullptr);
    EXPECT_EQ(card->outgoingImage()->image(), nullptr);
}

}  // namespace
}  // namespace orvane::testing
