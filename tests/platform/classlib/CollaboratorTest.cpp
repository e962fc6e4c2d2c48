// Dependencies, broadcasts, the supervisor chain's notices and the command target.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CBureaucrat.h"

namespace {

std::vector<std::string> gHeard;

class Named : public CBureaucrat {
 public:
  explicit Named(std::string n) : name(std::move(n)) {}
  ~Named() override = default;
  void ProviderChanged(CCollaborator* provider, long reason, void* info) override {
    gHeard.push_back(name + "<" + static_cast<Named*>(provider)->name + ":" + std::to_string(reason));
    CBureaucrat::ProviderChanged(provider, reason, info);
    if (onNotice) onNotice(reason);  // last: it may dispose of the provider
  }
  std::string name;
  std::function<void(long)> onNotice;
};

// A class that overrides the handler under its other name.
class OtherName : public CCollaborator {
 public:
  long heard = 0;
  void OnProviderChange(CCollaborator*, long reason, void*) override { heard = reason; }
};

class CollaboratorTest : public ::testing::Test {
 protected:
  void SetUp() override { gHeard.clear(); }
  void TearDown() override { gCommandTarget = nullptr; }
};

TEST_F(CollaboratorTest, BroadcastReachesEveryDependentInOrderWithReasonAndInfo) {
  Named provider("p"), a("a"), b("b");
  a.AttachToProvider(&provider);
  b.AttachToProvider(&provider);
  a.AttachToProvider(&provider);  // once only
  int info = 0;
  void* seen = nullptr;
  b.onNotice = [&](long) { seen = &info; };
  provider.NotifyDependents(500, &info);
  EXPECT_EQ(gHeard, (std::vector<std::string>{"a<p:500", "b<p:500"}));
  EXPECT_EQ(seen, &info);
  OtherName other;
  other.AttachToProvider(&provider);
  provider.NotifyDependents(501, nullptr);
  EXPECT_EQ(other.heard, 501);
  a.DetachFromProvider(&provider);
  gHeard.clear();
  provider.NotifyDependents(502, nullptr);
  EXPECT_EQ(gHeard, (std::vector<std::string>{"b<p:502"}));
  EXPECT_FALSE(provider.HasDependent(&a));
  EXPECT_FALSE(a.HasProvider(&provider));
}

TEST_F(CollaboratorTest, LinksGoWithEitherSide) {
  auto* provider = new Named("p");
  auto* dependent = new Named("d");
  dependent->AttachToProvider(provider);
  provider->Dispose();
  EXPECT_EQ(dependent->CountProviders(), 0);
  provider = new Named("p");
  dependent->AttachToProvider(provider);
  dependent->Dispose();
  EXPECT_EQ(provider->CountDependents(), 0);
  provider->NotifyDependents(1, nullptr);
  EXPECT_TRUE(gHeard.empty());
  provider->Dispose();
}

TEST_F(CollaboratorTest, DeliveryIsSafeWhenNoticesChangeTheLinks) {
  auto* provider = new Named("p");
  Named a("a"), b("b"), c("c");
  auto* d = new Named("d");
  for (Named* n : {&a, &b, &c, d}) n->AttachToProvider(provider);
  // a detaches c (not heard any more), b disposes of d (skipped), c never runs.
  a.onNotice = [&](long) { c.DetachFromProvider(provider); };
  b.onNotice = [&](long) { d->Dispose(); };
  provider->NotifyDependents(1, nullptr);
  EXPECT_EQ(gHeard, (std::vector<std::string>{"a<p:1", "b<p:1"}));
  // A dependent that disposes of the provider ends the broadcast.
  gHeard.clear();
  a.onNotice = [&](long) { provider->Dispose(); };
  b.onNotice = nullptr;
  provider->NotifyDependents(2, nullptr);
  EXPECT_EQ(gHeard, (std::vector<std::string>{"a<p:2"}));
  EXPECT_EQ(a.CountProviders(), 0);
}

TEST_F(CollaboratorTest, BureaucratNoticeClimbsTheSupervisorChainFirst) {
  Named application("app"), document("doc"), pane("pane"), watcher("w"), stranger("s");
  document.IBureaucrat(&application);
  pane.IBureaucrat(&document);
  watcher.AttachToProvider(&pane);
  pane.NotifyDependents(7, nullptr);
  EXPECT_EQ(gHeard, (std::vector<std::string>{"doc<pane:7", "app<pane:7", "w<pane:7"}));
  // A notice from outside the chain stops at the one who hears it.
  gHeard.clear();
  document.AttachToProvider(&stranger);
  stranger.NotifyDependents(8, nullptr);
  EXPECT_EQ(gHeard, (std::vector<std::string>{"doc<s:8"}));
}

TEST_F(CollaboratorTest, CommandTargetChangesAreBroadcast) {
  Named application("app"), pane("pane"), field("field");
  pane.IBureaucrat(&application);
  field.IBureaucrat(&application);
  EXPECT_TRUE(pane.BecomeCommandTarget(true));
  EXPECT_EQ(gCommandTarget, &pane);
  gHeard.clear();
  EXPECT_TRUE(field.BecomeCommandTarget(true));
  EXPECT_TRUE(field.IsCommandTarget());
  EXPECT_EQ(gHeard, (std::vector<std::string>{"app<pane:" + std::to_string(kResignedCommandTarget),
                                              "app<field:" + std::to_string(kBecameCommandTarget)}));
  // Giving it up hands it to the supervisor.
  EXPECT_TRUE(field.BecomeCommandTarget(false));
  EXPECT_EQ(gCommandTarget, &application);
}

TEST_F(CollaboratorTest, DisposedTargetHandsTheRoleToItsSupervisor) {
  Named application("app");
  auto* pane = new Named("pane");
  pane->IBureaucrat(&application);
  pane->BecomeCommandTarget(true);
  pane->Dispose();
  EXPECT_EQ(gCommandTarget, &application);
}

}  // namespace
