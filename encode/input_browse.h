// The two Browse buttons of page 1 that choose the job's input: a movie to encode (1008) or an
// existing FLV to publish as it is (1009).
#pragma once

class CMainDialog;

namespace encode {

void BrowseForMovie(CMainDialog& dialog);
void BrowseForFlv(CMainDialog& dialog);

}  // namespace encode
