#include "VLStartupScreen.h"

#include "VLApplication.h"

void VLStartupScreen::Dispose() {
  if (auto* app = dynamic_cast<VLApplication*>(gApplication)) app->ForgetStartupScreen(this);
  CSplashDoc::Dispose();
}
