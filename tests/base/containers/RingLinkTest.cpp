#include "base/containers/RingLink.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The ring holds exactly these links in this order, followed by next from the
// first and by prev backwards.
void ExpectRing(const std::vector<CRingLink*>& ring) {
    const size_t n = ring.size();
    for (size_t i = 0; i < n; i++) {
        EXPECT_EQ(ring[i]->Next(), ring[(i + 1) % n]) << "next of " << i;
        EXPECT_EQ(ring[i]->Prev(), ring[(i + n - 1) % n]) << "prev of " << i;
        EXPECT_EQ(ring[i]->IsAlone(), n == 1);
    }
}

TEST(CRingLinkTest, RingOfOne) {
    CRingLink a(nullptr);
    ExpectRing({&a});
    EXPECT_EQ(a.Unlink(), &a);
    ExpectRing({&a});
}

TEST(CRingLinkTest, JoinAndUnlink) {
    CRingLink a(nullptr);
    CRingLink b(&a);
    CRingLink c(&a);  // joins before A: at the ring's end
    ExpectRing({&a, &b, &c});

    EXPECT_EQ(b.Unlink(), &a);
    ExpectRing({&b});
    ExpectRing({&a, &c});

    EXPECT_EQ(a.Unlink(), &c);
    ExpectRing({&a});
    ExpectRing({&c});
}

}  // namespace
