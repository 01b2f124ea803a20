{ Recursion until the stack runs out. A procedure whose local variables find no room was never
  entered: the error stands at the call, where the caller can catch it. }
var depth: Integer;

procedure Deep;
var a: array[0..99999] of Integer;
begin
  depth := depth + 1;
  a[0] := depth;
  Deep;
end;

procedure Endless;
begin
  Endless;
end;

begin
  try
    Deep;
  except
    Print('caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  try
    Endless;
  except
    Print('caught again: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  if depth > 1 then Print('deep enough');
  Deep;
end.
