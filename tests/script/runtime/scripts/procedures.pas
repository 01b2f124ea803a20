type TIntFunc = function(x: Integer): Integer;
var total: Integer; f: TIntFunc; s: string;

function Fib(n: Integer): Integer;
begin
  if n < 2 then Result := n else Result := Fib(n - 1) + Fib(n - 2);
end;

procedure Swap(var a, b: Integer);
var t: Integer;
begin
  t := a;
  a := b;
  b := t;
end;

function Square(x: Integer): Integer;
begin
  Result := x * x;
end;

function Greet(const name: string; loud: Boolean): string;
begin
  Result := 'Hello ' + name;
  if loud then Result := UpperCase(Result) + '!';
end;

procedure Count(n: Integer);
begin
  if n = 0 then Exit;
  total := total + n;
  Count(n - 1);
end;

function FirstNegative(const values: array of Integer): Integer;
var i: Integer;
begin
  Result := -1;
  for i := 0 to High(values) do
    if values[i] < 0 then begin
      Result := i;
      Exit;
    end;
end;

var x, y: Integer;
begin
  Print('fib(20) = ' + IntToStr(Fib(20)));
  x := 1;
  y := 2;
  Swap(x, y);
  Print('swapped: ' + IntToStr(x) + ' ' + IntToStr(y));
  Print(Greet('Anna', False) + ' / ' + Greet('Bo', True));
  total := 0;
  Count(100);
  Print('count: ' + IntToStr(total));
  f := @Square;
  Print('through a variable: ' + IntToStr(f(12)));
  Print('first negative: ' + IntToStr(FirstNegative([3, 4, -5, 6])) + ' ' + IntToStr(FirstNegative([1])));
  s := IntToStr(Square(Square(3)));
  Print('nested calls: ' + s);
end.
