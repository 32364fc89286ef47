@echo off
rem Runs every test in this folder, each within its time limit, and keeps
rem what each said, with GoogleTest's XML reports, in results\ beside this
rem file. One line per test, then the count, which results\count.txt keeps
rem too; ends with 0 when all passed, and with 1 otherwise, or when
rem results\count.txt cannot be written anew, where no test runs.
setlocal EnableExtensions DisableDelayedExpansion
cd /d "%~dp0"
set "here=%~dp0"
set passed=0
set failed=0
set "run=%random%%random%"
if exist results\* rd /s /q results 2> nul
mkdir results 2> nul
del /f /q results\count.txt 2> nul
call :unfinished 2> nul
rem A count left from before, that cannot be removed, is no count of this run.
find "run %run%." results\count.txt > nul 2> nul
if errorlevel 1 (
  echo run-tests: no test ran: results\count.txt beside run-tests.cmd cannot be written anew
  call :hold
  exit /b 1
)
rem Only names go through call, which would expand a percent sign in the
rem folder's path once more and double a caret: :test makes the paths.
call :test follow_tests 120
call :test glyphroots_tests 120
call :test e2e_follow 120 follow.exe
call :test e2e_glyphroots 300 glyphroots.exe @nsis_argument@ @msi_argument@
call :test e2e_boxes 120 follow.exe glyphroots.exe
call :test resources_test 120 follow.exe glyphroots.exe
call :test soak 90 follow.exe 6
echo %passed% passed, %failed% failed
echo %passed% passed, %failed% failed> results\count.txt
find "%passed% passed, %failed% failed" results\count.txt > nul 2> nul
if errorlevel 1 (
  echo run-tests: results\count.txt cannot be written, and says the run did not finish
  set failed=1
)
call :hold
if %failed% gtr 0 exit /b 1
exit /b 0

rem Until the run's end says otherwise, the count says that it did not end.
:unfinished
rem Redirected first: a digit before > would name a handle.
> results\count.txt echo run-tests.cmd did not finish: run %run%.
goto :eof

rem :test NAME SECONDS [ARG...]: one test program, its output in results\.
rem An argument that names a file in this folder is given as its path.
:test
set "name=%~1"
set "seconds=%~2"
set "out=results\%~1.txt"
if not exist "%here%%name%.exe" (
  echo FAIL %name%: %name%.exe is not in this folder
  set /a failed+=1
  goto :eof
)
rem A result left from before, that cannot be removed, would pass for this
rem run's.
del /f /q "%out%" "results\%name%.xml" 2> nul
if exist "%out%" (
  echo FAIL %name%: %out% is left from before and cannot be removed, so it did not run
  set /a failed+=1
  goto :eof
)
set "args="
if not "%name%"=="soak" set "args=--gtest_output=xml:results\%name%.xml"
:argument
if "%~3"=="" goto :run
if exist "%here%%~3" (set args=%args% "%here%%~3") else set args=%args% %3
shift /3
goto :argument
:run
"%here%time-limit.exe" %seconds% "%here%%name%.exe" %args% > "%out%" 2>&1
set status=%errorlevel%
rem A status kept from before says nothing of a test that never ran.
if not exist "%out%" (
  echo FAIL %name%: its output cannot be written to %out%, so it did not run
  set /a failed+=1
  goto :eof
)
if "%status%"=="0" (
  echo PASS %name%
  set /a passed+=1
  goto :skipped
)
set /a failed+=1
find "time-limit: still running after" "%out%" > nul
if errorlevel 1 (
  echo FAIL %name%: exit status %status%; see %out%
) else (
  echo FAIL %name%: still running after %seconds% s, so ended; see %out%
)
:skipped
rem A case skipped for what this PC lacks says why, on a line of its own.
type "%out%" | find "skipped: "
goto :eof

rem Started by a double-click, as cmd /c ""...\run-tests.cmd" ", the window
rem closes once the run ends, and the result with it: wait for a key then,
rem and only then, so that a prompt or a CI job never waits.
:hold
setlocal EnableDelayedExpansion
set "line=!cmdcmdline:"='!"
if /i "!line:~-3!"=="' '" if not "!line:/c ''=!"=="!line!" pause
endlocal
goto :eof
